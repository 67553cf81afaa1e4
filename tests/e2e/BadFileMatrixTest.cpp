// Every kind of scene file, damaged every way a hostile or careless hand can:
// the program either reports it and goes on, or reports it and ends with
// status 1. Never a signal, a hang, or memory beyond the limit it runs under.
#include <gtest/gtest.h>

#include <deque>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <thread>

#include "e2e/DataTree.h"
#include "e2e/E2eSupport.h"
#include "e2e/Process.h"

using namespace std::chrono_literals;

namespace {

enum class Damage { Missing, Empty, Truncated, RandomBytes, HugeSize, OtherFormat };
const char* const kDamageNames[] = {"missing", "empty", "truncated",
                                    "random",  "huge",  "otherformat"};

// The designed outcome: fatal (status 1) or the run goes on (Escape ends it
// with 0); `message` must appear on standard output or error ("" for none).
struct Outcome {
    bool fatal;
    const char* message;
};

const Outcome kGoesOn{false, ""};
const Outcome kTextureFatal{true, "Texture failed to load\n"};
const Outcome kSkyFace{false, "Texture in Cubemap failed to load\n"};
const Outcome kModelReported{false, "ERROR: Fehler beim Laden von ASSIMP Model : "};
const Outcome kShaderReported{false, "ERROR::SHADER::FRAGMENT::Compilation failed\n"};
const Outcome kShaderUnread{false, "ERROR::SHADER::File could not benn read sucessfully!\n"};

struct Kind {
    const char* file;     // relative to the data root
    Outcome outcomes[6];  // by Damage
};

// The image stands for every image of its kind: they share one loader each.
const Kind kKinds[] = {
    {"models/vase/vase.obj",
     // Assimp reads what it can of a cut or random file as OBJ.
     {kModelReported, kModelReported, kGoesOn, kGoesOn, kModelReported, kModelReported}},
    {"models/vase/vase.mtl", {kGoesOn, kGoesOn, kGoesOn, kGoesOn, kGoesOn, kGoesOn}},
    {"models/vase/vase.png",
     {kTextureFatal, kTextureFatal, kTextureFatal, kTextureFatal, kTextureFatal, kTextureFatal}},
    {"textures/terrain/heightmapmiddle.png",
     {kTextureFatal, kTextureFatal, kTextureFatal, kTextureFatal, kTextureFatal, kTextureFatal}},
    {"textures/terrain/sand.jpg",
     {kTextureFatal, kTextureFatal, kTextureFatal, kTextureFatal, kTextureFatal, kTextureFatal}},
    {"textures/skybox/top.png", {kSkyFace, kSkyFace, kSkyFace, kSkyFace, kSkyFace, kSkyFace}},
    {"textures/controlpoints.txt", {kGoesOn, kGoesOn, kGoesOn, kGoesOn, kGoesOn, kGoesOn}},
    {"shader/waterFrag.txt",
     {kShaderReported, kShaderReported, kShaderReported, kShaderReported, kShaderUnread,
      kShaderReported}},
    {"sounds/dontYou.mp3", {kGoesOn, kGoesOn, kGoesOn, kGoesOn, kGoesOn, kGoesOn}},
    {"sounds/DyingLightBulb.mp3", {kGoesOn, kGoesOn, kGoesOn, kGoesOn, kGoesOn, kGoesOn}},
};

std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

bool isImage(const std::string& file) {
    const std::string ext = file.substr(file.size() - 4);
    return ext == ".png" || ext == ".jpg";
}

// A PNG signature and header declaring 60000 x 60000 grey pixels, no data.
std::string hugePngHeader() {
    const unsigned char bytes[] = {0x89, 'P',  'N', 'G', '\r', '\n', 0x1a, '\n', 0,    0, 0,
                                   13,   'I',  'H', 'D', 'R',  0,    0,    0xea, 0x60, 0, 0,
                                   0xea, 0x60, 8,   0,   0,    0,    0,    0,    0,    0, 0};
    return std::string(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

PlantedFile damaged(const std::string& file, Damage damage) {
    const std::string original = readBytes(std::string(MD_BUILD_DIR) + "/" + file);
    switch (damage) {
        case Damage::Missing:
        case Damage::Empty:
            return {};
        case Damage::Truncated:
            return {original.substr(0, original.size() / 2)};
        case Damage::RandomBytes: {
            std::mt19937 random(std::hash<std::string>{}(file));
            std::string bytes(4096, '\0');
            for (char& c : bytes) c = char(random() & 0xff);
            return {bytes};
        }
        case Damage::HugeSize:
            // Images declare their size in the header; other files are
            // simply that large (a hole, so the disk is not spent).
            if (isImage(file)) return {hugePngHeader()};
            return {original.substr(0, 64), std::uintmax_t(3) << 30};
        case Damage::OtherFormat:
            return {isImage(file)
                        ? readBytes(std::string(MD_BUILD_DIR) + "/models/vase/vase.obj")
                        : readBytes(std::string(MD_BUILD_DIR) + "/textures/skybox/top.png")};
    }
    return {};
}

struct Case {
    std::string file;
    Damage damage;
    Outcome expected;
    std::string title;
    std::unique_ptr<DataTree> tree;
    std::unique_ptr<Process> program;
    std::chrono::steady_clock::time_point started;
    std::chrono::steady_clock::time_point lastEscape;
    bool escaped = false;
    ProcessResult result;
};

// Address space the program may use: its whole run needs well under 1 GiB,
// and a reader that took a huge file whole would fail here.
const std::string kMemoryLimit = "--as=" + std::to_string(std::uintmax_t(2) << 30);

void start(Case& c) {
    std::set<std::string> omit;
    std::map<std::string, PlantedFile> planted;
    if (c.damage == Damage::Missing)
        omit.insert(c.file);
    else
        planted[c.file] = damaged(c.file, c.damage);
    c.tree = std::make_unique<DataTree>(omit, planted);
    c.started = std::chrono::steady_clock::now();
    c.program = std::make_unique<Process>(
        std::vector<std::string>{"prlimit", kMemoryLimit, "--", c.tree->program(), "160", "120",
                                 c.title, "60", "0"},
        c.tree->binDir());
}

// One look at a running case; true once it has ended (or was ended at the
// time limit). A program that has shown its window is asked to end with
// Escape, which it reads only in its frame loop: an exit 0 proves it got
// through loading into the loop. The key is sent again now and then, in case
// the first press came before the window could take it.
bool poll(Case& c, std::chrono::seconds limit) {
    const auto now = std::chrono::steady_clock::now();
    if (!c.program->running() || now - c.started > limit) {
        c.result = c.program->wait(0ms);  // ends it if it still runs
        return true;
    }
    if ((!c.escaped || now - c.lastEscape > 5s) && windowSize(c.title).first > 0) {
        c.escaped = pressKey(c.title, "Escape") || c.escaped;
        c.lastEscape = now;
    }
    return false;
}

void check(const Case& c) {
    SCOPED_TRACE(c.file + " " + kDamageNames[int(c.damage)]);
    const ProcessResult& r = c.result;
    EXPECT_FALSE(r.timedOut) << "no end within the limit\n" << r.out << r.err;
    EXPECT_EQ(r.signal, 0) << r.out << r.err;
    if (c.expected.fatal) {
        EXPECT_EQ(r.exitStatus, 1) << r.out << r.err;
    } else {
        EXPECT_TRUE(c.escaped) << "no window";
        EXPECT_EQ(r.exitStatus, 0) << r.out << r.err;
    }
    EXPECT_NE((r.out + r.err).find(c.expected.message), std::string::npos) << r.out << r.err;
}

}  // namespace

TEST(BadFiles, EveryKindOfSceneFileEveryDamage) {
    std::deque<Case> pending;
    for (const Kind& kind : kKinds)
        for (int d = 0; d < 6; ++d) {
            Case c;
            c.file = kind.file;
            c.damage = Damage(d);
            c.expected = kind.outcomes[d];
            c.title = "BadFile" + std::to_string(pending.size());
            pending.push_back(std::move(c));
        }

    // A few at a time: each run is mostly the program loading its scene.
    constexpr size_t kParallel = 3;
    std::vector<Case> active;
    while (!pending.empty() || !active.empty()) {
        while (active.size() < kParallel && !pending.empty()) {
            active.push_back(std::move(pending.front()));
            pending.pop_front();
            start(active.back());
        }
        for (auto it = active.begin(); it != active.end();) {
            if (poll(*it, 120s)) {
                check(*it);
                it = active.erase(it);
            } else {
                ++it;
            }
        }
        std::this_thread::sleep_for(300ms);
    }
}
