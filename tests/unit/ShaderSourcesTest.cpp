#include "render/ShaderDefines.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "base/AssetPaths.h"
#include "support/Process.h"

namespace {

namespace fs = std::filesystem;

// glslangValidator links the one stage when given definitions (-D needs -l).
ProcessResult validate(const std::string& path, const ShaderDefines& defines) {
    std::vector<std::string> args{"glslangValidator", "-l"};
    for (const ShaderDefine& define : defines) {
        args.push_back("-D" + define.name + "=" + define.value);
    }
    args.push_back(path);
    return runProcess(args, ORBQUEST_SOURCE_DIR);
}

std::vector<std::string> shaderFiles() {
    std::vector<std::string> files;
    for (const auto& entry :
         fs::directory_iterator(fs::path(ORBQUEST_SOURCE_DIR) / assets::shader(""))) {
        files.push_back(entry.path().string());
    }
    return files;
}

// Every shadow quality the player can choose builds the scene shader differently.
TEST(ShaderSources, EachFileCompilesAloneWithTheGamesDefinitions) {
    const std::vector<std::string> files = shaderFiles();
    ASSERT_GE(files.size(), 5u);
    for (ShadowQuality shadows : {ShadowQuality::Soft, ShadowQuality::Fast, ShadowQuality::Hard}) {
        for (const std::string& file : files) {
            const ProcessResult result = validate(file, gameShaderDefines(shadows));
            EXPECT_EQ(result.exitCode, 0) << shadowQualityName(shadows) << ": " << result.output;
        }
    }
}

// The scene shader takes its shadow numbers from the game instead of keeping copies.
TEST(ShaderSources, TheSceneShaderNeedsTheGamesDefinitions) {
    const std::string omni = std::string(ORBQUEST_SOURCE_DIR) + "/" + assets::shader("omni.frag");
    const ProcessResult result = validate(omni, {});
    EXPECT_NE(result.exitCode, 0);
    EXPECT_NE(result.output.find("SHADOW_NEAR"), std::string::npos) << result.output;
}

TEST(ShaderDefines, GoRightAfterTheVersionLineAndKeepTheFilesLineNumbers) {
    const ShaderDefines defines = {{"A", "1.0"}, {"B", "2"}};
    const struct {
        const char* name;
        std::string source;
        std::string compiled;
    } cases[] = {
        {"version first", "#version 430 core\nvoid main() {}\n",
         "#version 430 core\n#define A 1.0\n#define B 2\n#line 2\nvoid main() {}\n"},
        {"comments before the version", "// a\n// b\n#version 430 core\nx\n",
         "// a\n// b\n#version 430 core\n#define A 1.0\n#define B 2\n#line 4\nx\n"},
        {"version without a line end", "#version 430 core",
         "#version 430 core\n#define A 1.0\n#define B 2\n#line 2\n"},
        {"no version at all", "void main() {}\n",
         "#define A 1.0\n#define B 2\n#line 1\nvoid main() {}\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(withDefines(c.source, defines), c.compiled) << c.name;
    }
    EXPECT_EQ(withDefines(cases[0].source, {}), cases[0].source) << "no definitions, no change";
}

TEST(ShaderDefines, FloatsAreGlslLiteralsOfTheSameValue) {
    EXPECT_EQ(glslFloat(1024.0f), "1024.0");
    EXPECT_EQ(glslFloat(-2.0f), "-2.0");
    for (float value : {0.1f, 18.0f, 1e-6f, 3.0e7f}) {
        const std::string literal = glslFloat(value);
        EXPECT_NE(literal.find_first_of(".e"), std::string::npos) << literal;
        EXPECT_EQ(std::stof(literal), value) << literal;
    }
}

}  // namespace
