#include "levels/LevelFile.h"

// toml++ is compiled here and nowhere else, as a header-only library and without exceptions
// (the game uses none): a refused document comes back as a parse error.
#define TOML_HEADER_ONLY 1
#define TOML_EXCEPTIONS 0
#define TOML_ENABLE_FORMATTERS 0
#include <toml++/toml.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string_view>

#include "base/ConsoleText.h"
#include "base/ShortestDecimal.h"
#include "base/TextLines.h"

namespace levels {

namespace {

constexpr std::size_t kShownPath = 80;  // characters of the file's name a refusal quotes

std::string typeName(const toml::node& node) {
    switch (node.type()) {
        case toml::node_type::table:
            return "a table";
        case toml::node_type::array:
            return "a list";
        case toml::node_type::string:
            return "text";
        case toml::node_type::integer:
        case toml::node_type::floating_point:
            return "a number";
        case toml::node_type::boolean:
            return "true or false";
        default:
            return "a date or time";
    }
}

// Turns a TOML document into a level, refusing at the first thing the game cannot use. Each
// read... function returns false once 'problem' says why, with the line it is on.
class Reader {
  public:
    std::string problem;
    unsigned line = 0;  // 0: the problem is the level's as a whole

    bool read(const toml::table& root, LevelDescription& level);

  private:
    bool refuse(const toml::node& at, const std::string& why) {
        line = at.source().begin.line;
        problem = why;
        return false;
    }
    bool refuseWhole(const std::string& why) {
        line = 0;
        problem = why;
        return false;
    }

    bool knownKeys(const toml::table& table, const std::string& what,
                   std::initializer_list<std::string_view> keys, const char* listed);
    bool number(const toml::node& node, const std::string& what, float low, float high,
                float& value);
    bool numbers(const toml::node& node, const std::string& what, const char* shape, float low,
                 float high, std::size_t count, float* values);
    bool vector(const toml::node& node, const std::string& what, float low, float high,
                glm::vec3& v);
    bool point(const toml::node& node, const std::string& what, glm::vec3& p) {
        return vector(node, what, -kMaxCoordinate, kMaxCoordinate, p);
    }
    bool size(const toml::node& node, const std::string& what, glm::vec3& s) {
        return vector(node, what, kMinSize, kMaxSize, s);
    }
    const toml::node* field(const toml::table& table, const toml::node& at, std::string_view key,
                            const std::string& what);
    bool slab(const toml::node& node, const std::string& what, Slab& slab);
    bool rectangle(const toml::node& node, const std::string& what, GroundRectangle& rectangle);
    bool duck(const toml::node& node, const std::string& what, Duck& duck);
    bool text(const toml::table& root, std::string_view key, std::string& value);
    template <typename T, typename ReadOne>
    bool list(const toml::table& root, std::string_view key, std::size_t least, std::size_t most,
              std::vector<T>& values, ReadOne readOne);
    bool startIsClear(const toml::table& root, const LevelDescription& level);
};

bool Reader::knownKeys(const toml::table& table, const std::string& what,
                       std::initializer_list<std::string_view> keys, const char* listed) {
    for (auto&& [key, value] : table) {
        if (std::find(keys.begin(), keys.end(), key.str()) == keys.end()) {
            line = key.source().begin.line;
            problem = "unknown key \"" + printable(std::string(key.str())) + "\"" +
                      (what.empty() ? "" : " in " + what) + "; " + listed;
            return false;
        }
    }
    return true;
}

bool Reader::number(const toml::node& node, const std::string& what, float low, float high,
                    float& value) {
    double read = 0.0;
    if (const auto* real = node.as_floating_point()) {
        read = real->get();
    } else if (const auto* whole = node.as_integer()) {
        read = static_cast<double>(whole->get());
    } else {
        return refuse(node, what + " is " + typeName(node) + ", not a number");
    }
    std::ostringstream range;
    range << what << " is " << read << ", not a number from " << low << " to " << high;
    if (!std::isfinite(read) || read < low || read > high) {
        return refuse(node, range.str());
    }
    value = static_cast<float>(read);
    return true;
}

bool Reader::numbers(const toml::node& node, const std::string& what, const char* shape, float low,
                     float high, std::size_t count, float* values) {
    const toml::array* array = node.as_array();
    if (!array || array->size() != count) {
        const std::string is =
            array ? "a list of " + std::to_string(array->size()) : typeName(node);
        return refuse(node, what + " is " + is + ", not " + shape);
    }
    static const char* const kAxes[] = {"x", "y", "z"};
    for (std::size_t i = 0; i < count; ++i) {
        const std::string axis = count == 3 ? kAxes[i] : (i == 0 ? "from" : "to");
        if (!number((*array)[i], what + " " + axis, low, high, values[i])) {
            return false;
        }
    }
    return true;
}

bool Reader::vector(const toml::node& node, const std::string& what, float low, float high,
                    glm::vec3& v) {
    float xyz[3] = {};
    if (!numbers(node, what, "[x, y, z]", low, high, 3, xyz)) {
        return false;
    }
    v = glm::vec3(xyz[0], xyz[1], xyz[2]);
    return true;
}

// The value of 'key' in an entry's table; refuses the entry without it.
const toml::node* Reader::field(const toml::table& table, const toml::node& at,
                                std::string_view key, const std::string& what) {
    const toml::node* value = table.get(key);
    if (!value) {
        refuse(at, what + " has no " + std::string(key));
    }
    return value;
}

bool Reader::slab(const toml::node& node, const std::string& what, Slab& slab) {
    const toml::table* table = node.as_table();
    if (!table) {
        return refuse(node, what + " is " + typeName(node) + ", not { position = [x, y, z], " +
                                "size = [x, y, z] }");
    }
    const toml::node* position = nullptr;
    const toml::node* scale = nullptr;
    return knownKeys(*table, what, {"position", "size"}, "it has position and size") &&
           (position = field(*table, node, "position", what)) &&
           (scale = field(*table, node, "size", what)) &&
           point(*position, what + " position", slab.position) &&
           size(*scale, what + " size", slab.size);
}

bool Reader::rectangle(const toml::node& node, const std::string& what, GroundRectangle& r) {
    const toml::table* table = node.as_table();
    if (!table) {
        return refuse(node,
                      what + " is " + typeName(node) + ", not { x = [from, to], z = [from, to] }");
    }
    const toml::node* x = nullptr;
    const toml::node* z = nullptr;
    float xs[2] = {};
    float zs[2] = {};
    if (!knownKeys(*table, what, {"x", "z"}, "it has x and z") ||
        !(x = field(*table, node, "x", what)) || !(z = field(*table, node, "z", what)) ||
        !numbers(*x, what + " x", "[from, to]", -kMaxCoordinate, kMaxCoordinate, 2, xs) ||
        !numbers(*z, what + " z", "[from, to]", -kMaxCoordinate, kMaxCoordinate, 2, zs)) {
        return false;
    }
    r = {xs[0], xs[1], zs[0], zs[1]};
    if (!(r.minX < r.maxX && r.minZ < r.maxZ)) {
        return refuse(node, what + " is empty: each [from, to] needs from below to");
    }
    return true;
}

bool Reader::duck(const toml::node& node, const std::string& what, Duck& duck) {
    const toml::table* table = node.as_table();
    if (!table) {
        return refuse(node, what + " is " + typeName(node) + ", not { duck = [x, y, z], " +
                                "puddle = [x, y, z], ball = [x, y, z] }");
    }
    const toml::node* at[3] = {};
    return knownKeys(*table, what, {"duck", "puddle", "ball"}, "it has duck, puddle and ball") &&
           (at[0] = field(*table, node, "duck", what)) &&
           (at[1] = field(*table, node, "puddle", what)) &&
           (at[2] = field(*table, node, "ball", what)) &&
           point(*at[0], what + " duck", duck.duck) &&
           point(*at[1], what + " puddle", duck.puddle) && point(*at[2], what + " ball", duck.ball);
}

bool Reader::text(const toml::table& root, std::string_view key, std::string& value) {
    const toml::node* node = root.get(key);
    if (!node) {
        return refuseWhole("no " + std::string(key));
    }
    const auto* string = node->as_string();
    if (!string) {
        return refuse(*node, std::string(key) + " is " + typeName(*node) + ", not text");
    }
    value = string->get();
    return true;
}

// A list of entries under 'key', each read by 'readOne' (node, what, entry).
template <typename T, typename ReadOne>
bool Reader::list(const toml::table& root, std::string_view key, std::size_t least,
                  std::size_t most, std::vector<T>& values, ReadOne readOne) {
    const std::string name(key);
    const std::string needs =
        "; a level has " + std::to_string(least) + " to " + std::to_string(most);
    const toml::node* node = root.get(key);
    if (!node) {
        return least == 0 || refuseWhole("no " + name + needs);
    }
    const toml::array* array = node->as_array();
    if (!array) {
        return refuse(*node, name + " is " + typeName(*node) + ", not a list");
    }
    if (array->size() < least || array->size() > most) {
        return refuse(*node, name + " has " + std::to_string(array->size()) + needs);
    }
    values.resize(array->size());
    for (std::size_t i = 0; i < array->size(); ++i) {
        if (!(this->*readOne)((*array)[i], name + "[" + std::to_string(i) + "]", values[i])) {
            return false;
        }
    }
    return true;
}

// The ball starts at the origin, a sphere of radius 0.3 resting on the ground: it must stand on
// a ground rectangle, and no block or target may reach into it there.
bool Reader::startIsClear(const toml::table& root, const LevelDescription& level) {
    const bool onGround =
        std::any_of(level.ground.begin(), level.ground.end(), [](const GroundRectangle& r) {
            return r.minX < 0.0f && 0.0f < r.maxX && r.minZ < 0.0f && 0.0f < r.maxZ;
        });
    if (!onGround) {
        return refuse(*root.get("ground"),
                      "the ball starts at 0 0 0, which no ground rectangle holds");
    }
    constexpr float kBall = 0.3f;
    for (std::size_t i = 0; i < level.blocks.size(); ++i) {
        // A block reaches 0.5 across from its top face's middle and 1 down.
        const glm::vec3& b = level.blocks[i];
        if (std::abs(b.x) < 0.5f + kBall && std::abs(b.z) < 0.5f + kBall && b.y > -kBall &&
            b.y - 1.0f < kBall) {
            return refuse(*root.get("blocks")->as_array()->get(i),
                          "blocks[" + std::to_string(i) + "] is where the ball starts, at 0 0 0");
        }
    }
    for (std::size_t i = 0; i < level.targets.size(); ++i) {
        if (glm::length(level.targets[i]) < 2.0f * kBall) {
            return refuse(*root.get("targets")->as_array()->get(i),
                          "targets[" + std::to_string(i) + "] is where the ball starts, at 0 0 0");
        }
    }
    return true;
}

bool Reader::read(const toml::table& root, LevelDescription& level) {
    if (!knownKeys(root, "",
                   {"name", "title", "par_time", "floor", "ground", "blocks", "targets", "ducks",
                    "backdrops"},
                   "a level has name, title, par_time, floor, ground, blocks, targets, ducks, "
                   "backdrops")) {
        return false;
    }
    if (!text(root, "name", level.name) || !text(root, "title", level.title)) {
        return false;
    }
    if (!isLevelName(level.name)) {
        return refuse(*root.get("name"), "name is \"" + printable(level.name) + "\", not 1 to " +
                                             std::to_string(kMaxNameLength) + " of a-z, 0-9 and -");
    }
    const bool printableTitle = std::all_of(level.title.begin(), level.title.end(),
                                            [](char c) { return c >= 0x20 && c < 0x7f; });
    if (level.title.empty() || level.title.size() > kMaxTitleLength || !printableTitle) {
        return refuse(*root.get("title"), "title is \"" + printable(level.title) + "\", not 1 to " +
                                              std::to_string(kMaxTitleLength) +
                                              " printable ASCII characters");
    }
    const toml::node* par = root.get("par_time");
    if (!par) {
        return refuseWhole("no par_time");
    }
    return number(*par, "par_time", kMinParTime, kMaxParTime, level.parTime) &&
           list(root, "floor", 1, kMaxFloorSlabs, level.floor, &Reader::slab) &&
           list(root, "ground", 1, kMaxGroundRectangles, level.ground, &Reader::rectangle) &&
           list(root, "blocks", 0, kMaxBlocks, level.blocks, &Reader::point) &&
           list(root, "targets", 1, kMaxTargets, level.targets, &Reader::point) &&
           list(root, "ducks", 0, kMaxDucks, level.ducks, &Reader::duck) &&
           list(root, "backdrops", 0, kMaxBackdrops, level.backdrops, &Reader::slab) &&
           startIsClear(root, level);
}

std::string refusal(const std::string& path, unsigned line, const std::string& why) {
    return "Level file " + printable(path, kShownPath) +
           (line > 0 ? ", line " + std::to_string(line) : "") + ": " + why;
}

// A TOML basic string: the title may hold quotes and backslashes.
std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
        }
        out += c;
    }
    return out + "\"";
}

std::string vector3(const glm::vec3& v) {
    return "[" + shortestDecimal(v.x) + ", " + shortestDecimal(v.y) + ", " + shortestDecimal(v.z) +
           "]";
}

std::string pair(float from, float to) {
    return "[" + shortestDecimal(from) + ", " + shortestDecimal(to) + "]";
}

std::string slabText(const Slab& slab) {
    return "{ position = " + vector3(slab.position) + ", size = " + vector3(slab.size) + " }";
}

template <typename T, typename Write>
void writeList(std::ostringstream& out, const char* key, const std::vector<T>& values,
               Write write) {
    out << key << " = [";
    for (const T& value : values) {
        out << "\n  " << write(value) << ",";
    }
    out << (values.empty() ? "]\n" : "\n]\n");
}

}  // namespace

bool isLevelName(const std::string& name) {
    return !name.empty() && name.size() <= kMaxNameLength &&
           name.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789-") == std::string::npos;
}

// What keeps a text from reaching toml++: beyond the size and line limits, a NUL byte, or a
// character beyond ASCII (Debian 12's toml++, 3.3.0, reaches undefined behaviour on many of
// those where it looks for white space).
std::string unreadable(const std::string& text, const std::string& path) {
    const TextProblem problem = checkText(text, {kMaxLevelFileBytes, kMaxLevelLineLength});
    switch (problem.kind) {
        case TextProblem::TooLarge:
            return refusal(path, 0, "larger than " + std::to_string(kMaxLevelFileBytes) + " bytes");
        case TextProblem::NulByte:
            return refusal(path, 0, "it holds a NUL byte; a level file is text");
        case TextProblem::LongLine:
            return refusal(path, static_cast<unsigned>(problem.line),
                           "longer than " + std::to_string(kMaxLevelLineLength) + " characters");
        case TextProblem::None:
            break;
    }
    TextLines lines(text);
    for (std::string line; lines.next(line);) {
        if (std::any_of(line.begin(), line.end(),
                        [](char c) { return static_cast<unsigned char>(c) >= 0x80; })) {
            return refusal(path, static_cast<unsigned>(lines.number()),
                           "a character beyond ASCII; a level file is ASCII text");
        }
    }
    return "";
}

LevelRead parseLevel(const std::string& text, const std::string& path) {
    LevelRead result;
    result.error = unreadable(text, path);
    if (!result.error.empty()) {
        return result;
    }
    toml::parse_result parsed = toml::parse(std::string_view(text), std::string_view(path));
    if (!parsed) {
        const toml::parse_error& error = parsed.error();
        result.error = refusal(path, error.source().begin.line,
                               "not TOML: " + printable(std::string(error.description()), 100));
        return result;
    }
    Reader reader;
    if (!reader.read(parsed.table(), result.level)) {
        result.error = refusal(path, reader.line, reader.problem);
        result.level = LevelDescription();
    }
    return result;
}

LevelRead loadLevelFile(const std::string& path) {
    LevelRead refused;
    std::string text;
    std::string error;
    switch (readTextFile(path, kMaxLevelFileBytes, text, error)) {
        case TextFileRead::Missing:
            refused.error = refusal(path, 0, "there is no such file");
            return refused;
        case TextFileRead::Failed:
            refused.error = refusal(path, 0, "cannot be read (" + error + ")");
            return refused;
        case TextFileRead::Read:
            break;
    }
    return parseLevel(text, path);
}

std::string formatLevel(const LevelDescription& level) {
    std::ostringstream out;
    out << "# An Orbquest level (the README's Levels section describes the format)\n"
        << "name = " << quoted(level.name) << "\n"
        << "title = " << quoted(level.title) << "\n"
        << "par_time = " << shortestDecimal(level.parTime) << "\n\n";
    out << "# The cube at position, scaled by size: x and y reach size either way, z from the\n"
        << "# position to 2 size.z beyond. The ball starts resting on a top at y = -0.3.\n";
    writeList(out, "floor", level.floor, slabText);
    out << "# Where the ball's centre may be at ground height; off all of them it falls.\n";
    writeList(out, "ground", level.ground, [](const GroundRectangle& r) {
        return "{ x = " + pair(r.minX, r.maxX) + ", z = " + pair(r.minZ, r.maxZ) + " }";
    });
    out << "# The middle of each block's top face; a block is 1 unit on every side.\n";
    writeList(out, "blocks", level.blocks, vector3);
    out << "# The centre of each target, a ball of radius 0.3.\n";
    writeList(out, "targets", level.targets, vector3);
    writeList(out, "ducks", level.ducks, [](const Duck& duck) {
        return "{ duck = " + vector3(duck.duck) + ", puddle = " + vector3(duck.puddle) +
               ", ball = " + vector3(duck.ball) + " }";
    });
    writeList(out, "backdrops", level.backdrops, slabText);
    return out.str();
}

bool operator==(const LevelDescription& a, const LevelDescription& b) {
    auto sameSlabs = [](const std::vector<Slab>& x, const std::vector<Slab>& y) {
        return std::equal(x.begin(), x.end(), y.begin(), y.end(), [](const Slab& s, const Slab& t) {
            return s.position == t.position && s.size == t.size;
        });
    };
    const bool sameGround = std::equal(
        a.ground.begin(), a.ground.end(), b.ground.begin(), b.ground.end(),
        [](const GroundRectangle& r, const GroundRectangle& s) {
            return r.minX == s.minX && r.maxX == s.maxX && r.minZ == s.minZ && r.maxZ == s.maxZ;
        });
    const bool sameDucks =
        std::equal(a.ducks.begin(), a.ducks.end(), b.ducks.begin(), b.ducks.end(),
                   [](const Duck& d, const Duck& e) {
                       return d.duck == e.duck && d.puddle == e.puddle && d.ball == e.ball;
                   });
    return a.name == b.name && a.title == b.title && a.parTime == b.parTime &&
           sameSlabs(a.floor, b.floor) && sameGround && a.blocks == b.blocks &&
           a.targets == b.targets && sameDucks && sameSlabs(a.backdrops, b.backdrops);
}

}  // namespace levels
