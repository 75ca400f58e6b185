#include "app/DebugOutput.h"

#include <gtest/gtest.h>

#include "support/Printed.h"

namespace {

TEST(DebugOutput, FormatsOneLineWithEveryName) {
    EXPECT_EQ(formatDebugMessage(GL_DEBUG_SOURCE_API, GL_DEBUG_TYPE_ERROR, 1282,
                                 GL_DEBUG_SEVERITY_HIGH, "invalid operation"),
              "OpenGL Error: invalid operation [Source = API, Type = Error, Severity = High, "
              "ID = 1282]");
}

TEST(DebugOutput, EveryMessageIsIntroducedAsAnError) {
    EXPECT_EQ(
        formatDebugMessage(GL_DEBUG_SOURCE_APPLICATION, GL_DEBUG_TYPE_OTHER, 7,
                           GL_DEBUG_SEVERITY_NOTIFICATION, "note"),
        "OpenGL Error: note [Source = Application, Type = Other, Severity = Unknown, ID = 7]");
}

struct NameCase {
    GLenum value;
    const char* name;
};

TEST(DebugOutput, SourceNamesServeAmdCategoriesToo) {
    const NameCase cases[] = {
        {GL_DEBUG_SOURCE_API, "API"},
        {GL_DEBUG_SOURCE_WINDOW_SYSTEM, "Window System"},
        {GL_DEBUG_SOURCE_SHADER_COMPILER, "Shader Compiler"},
        {GL_DEBUG_SOURCE_THIRD_PARTY, "Third Party"},
        {GL_DEBUG_SOURCE_APPLICATION, "Application"},
        {GL_DEBUG_SOURCE_OTHER, "Other"},
        {GL_DEBUG_CATEGORY_API_ERROR_AMD, "API"},
        {GL_DEBUG_CATEGORY_WINDOW_SYSTEM_AMD, "Window System"},
        {GL_DEBUG_CATEGORY_SHADER_COMPILER_AMD, "Shader Compiler"},
        {GL_DEBUG_CATEGORY_APPLICATION_AMD, "Application"},
        {GL_DEBUG_CATEGORY_OTHER_AMD, "Other"},
        {GL_DEBUG_CATEGORY_DEPRECATION_AMD, "Unknown"},
        {GL_DEBUG_CATEGORY_UNDEFINED_BEHAVIOR_AMD, "Unknown"},
        {GL_DEBUG_CATEGORY_PERFORMANCE_AMD, "Unknown"},
        {GL_DEBUG_TYPE_ERROR, "Unknown"},
    };
    for (const NameCase& c : cases) {
        EXPECT_STREQ(debugSourceName(c.value), c.name) << std::hex << c.value;
    }
}

TEST(DebugOutput, TypeNamesServeAmdCategoriesToo) {
    const NameCase cases[] = {
        {GL_DEBUG_TYPE_ERROR, "Error"},
        {GL_DEBUG_TYPE_DEPRECATED_BEHAVIOR, "Deprecated Behavior"},
        {GL_DEBUG_TYPE_UNDEFINED_BEHAVIOR, "Undefined Behavior"},
        {GL_DEBUG_TYPE_PORTABILITY, "Portability"},
        {GL_DEBUG_TYPE_PERFORMANCE, "Performance"},
        {GL_DEBUG_TYPE_OTHER, "Other"},
        {GL_DEBUG_CATEGORY_DEPRECATION_AMD, "Deprecated Behavior"},
        {GL_DEBUG_CATEGORY_UNDEFINED_BEHAVIOR_AMD, "Undefined Behavior"},
        {GL_DEBUG_CATEGORY_PERFORMANCE_AMD, "Performance"},
        {GL_DEBUG_CATEGORY_OTHER_AMD, "Other"},
        {GL_DEBUG_CATEGORY_API_ERROR_AMD, "Unknown"},
        {GL_DEBUG_CATEGORY_WINDOW_SYSTEM_AMD, "Unknown"},
        {GL_DEBUG_CATEGORY_SHADER_COMPILER_AMD, "Unknown"},
        {GL_DEBUG_CATEGORY_APPLICATION_AMD, "Unknown"},
        {GL_DEBUG_SOURCE_API, "Unknown"},
    };
    for (const NameCase& c : cases) {
        EXPECT_STREQ(debugTypeName(c.value), c.name) << std::hex << c.value;
    }
}

TEST(DebugOutput, SeverityNames) {
    const NameCase cases[] = {
        {GL_DEBUG_SEVERITY_HIGH, "High"},
        {GL_DEBUG_SEVERITY_HIGH_AMD, "High"},
        {GL_DEBUG_SEVERITY_MEDIUM, "Medium"},
        {GL_DEBUG_SEVERITY_LOW, "Low"},
        {GL_DEBUG_SEVERITY_NOTIFICATION, "Unknown"},
        {0, "Unknown"},
    };
    for (const NameCase& c : cases) {
        EXPECT_STREQ(debugSeverityName(c.value), c.name) << std::hex << c.value;
    }
}

TEST(DebugOutput, AmdCategoryStandsInForSourceAndType) {
    EXPECT_EQ(printedBy([] {
                  debugCallbackAMD(5, GL_DEBUG_CATEGORY_SHADER_COMPILER_AMD,
                                   GL_DEBUG_SEVERITY_MEDIUM, 0, "msg", nullptr);
              }),
              "OpenGL Error: msg [Source = Shader Compiler, Type = Unknown, Severity = Medium, "
              "ID = 5]\n");
}

TEST(DebugOutput, StandardCallbackDropsBufferChatterAmdDoesNot) {
    EXPECT_EQ(printedBy([] {
                  debugCallback(GL_DEBUG_SOURCE_API, GL_DEBUG_TYPE_OTHER, 131185,
                                GL_DEBUG_SEVERITY_LOW, 0, "buffer info", nullptr);
                  debugCallback(GL_DEBUG_SOURCE_API, GL_DEBUG_TYPE_PERFORMANCE, 131218,
                                GL_DEBUG_SEVERITY_MEDIUM, 0, "recompile", nullptr);
              }),
              "");
    const std::string amd = printedBy([] {
        debugCallbackAMD(131185, GL_DEBUG_CATEGORY_OTHER_AMD, GL_DEBUG_SEVERITY_LOW, 0,
                         "buffer info", nullptr);
    });
    EXPECT_NE(amd.find("ID = 131185]"), std::string::npos);
}

}  // namespace
