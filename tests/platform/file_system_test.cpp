// Host directory, temporary directory and files, existence test, library loading.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "fake_services.h"
#include "platform/file_system.h"
#include "platform/platform_services.h"
#include "platform/shared_library.h"

namespace morvane::platform {
namespace {

namespace fs = std::filesystem;

using test::ScopedVariable;
using test::ScratchDirectory;

TEST(FileSystem, DirectoryOfCutsAtTheLastSlash) {
    const std::pair<const char*, const char*> cases[] = {
        {"/opt/editor/bin/editor", "/opt/editor/bin"},
        {"/editor", ""},
        {"editor", ""},
        {"/a/b/", "/a/b"},
        {"", ""},
    };
    for (const auto& [path, dir] : cases)
        EXPECT_EQ(directoryOf(path), dir) << path;
}

TEST(FileSystem, TheHostDirectoryHoldsTheRunningProgram) {
    const std::string exe = executablePath();
    ASSERT_FALSE(exe.empty());
    EXPECT_EQ(exe.front(), '/');
    EXPECT_TRUE(fs::equivalent(exe, "/proc/self/exe"));
    EXPECT_EQ(PlatformServices().hostDirectory(), directoryOf(exe));
    EXPECT_EQ(PlatformServices("/somewhere/else").hostDirectory(), "/somewhere/else");
}

TEST(FileSystem, TemporaryDirectoryFollowsTmpdirOnlyWhenItIsADirectory) {
    ScratchDirectory scratch;
    const ScopedVariable tmpdir("TMPDIR", std::nullopt);
    const std::string file = (scratch.path() / "plain").string();
    std::ofstream(file) << "x";
    struct Case {
        std::optional<std::string> tmpdir;
        std::string expected;
    };
    const Case cases[] = {
        {scratch.path().string(), scratch.path().string()},
        {std::nullopt, "/tmp"},
        {std::string(), "/tmp"},
        {file, "/tmp"},
        {(scratch.path() / "missing").string(), "/tmp"},
    };
    for (const Case& c : cases) {
        tmpdir.set(c.tmpdir);
        EXPECT_EQ(temporaryDirectory(), c.expected) << c.tmpdir.value_or("<unset>");
    }
}

TEST(FileSystem, TemporaryFilesAreNewPrivateAndUnique) {
    ScratchDirectory scratch;
    std::set<std::string> made;
    for (int i = 0; i < 50; ++i) {
        const std::string path = createTemporaryFile(scratch.path().string(), "NEW");
        ASSERT_FALSE(path.empty());
        EXPECT_TRUE(made.insert(path).second) << path;
        const fs::path p(path);
        EXPECT_EQ(p.parent_path(), scratch.path());
        EXPECT_TRUE(p.filename().string().starts_with("NEW")) << path;
        EXPECT_EQ(p.extension(), ".tmp");
        EXPECT_EQ(fs::file_size(p), 0u);
        struct stat info {};
        ASSERT_EQ(::stat(path.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0600u);
    }
    // A directory that does not exist, or one we cannot write, gives no file.
    EXPECT_EQ(createTemporaryFile((scratch.path() / "missing").string(), "NEW"), "");
    if (::geteuid() != 0) {
        fs::permissions(scratch.path(), fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_EQ(createTemporaryFile(scratch.path().string(), "NEW"), "");
        fs::permissions(scratch.path(), fs::perms::owner_all);
    }
}

TEST(FileSystem, OnlyRegularFilesExist) {
    ScratchDirectory scratch;
    const std::string file = (scratch.path() / "file.conv").string();
    std::ofstream(file) << "x";
    fs::create_symlink(file, scratch.path() / "link.conv");
    fs::create_symlink(scratch.path() / "gone", scratch.path() / "dangling.conv");
    const std::pair<std::string, bool> cases[] = {
        {file, true},
        {(scratch.path() / "link.conv").string(), true},
        {(scratch.path() / "dangling.conv").string(), false},
        {scratch.path().string(), false},
        {(scratch.path() / "missing").string(), false},
        {"", false},
        {"/dev/null", false},
    };
    for (const auto& [path, exists] : cases) {
        EXPECT_EQ(isRegularFile(path), exists) << path;
        EXPECT_EQ(PlatformServices().fileExists(path), exists) << path;
    }
}

TEST(SharedLibrary, LoadsOnlyAbsolutePathsOfRealLibraries) {
    void* reader = loadLibrary(STAND_IN_READER);
    ASSERT_NE(reader, nullptr);
    EXPECT_NE(findSymbol(reader, "GetSupportedCycles"), nullptr);
    EXPECT_NE(findSymbol(reader, "NCIConverter"), nullptr);
    EXPECT_EQ(findSymbol(reader, "NoSuchEntry"), nullptr);
    EXPECT_EQ(findSymbol(nullptr, "NCIConverter"), nullptr);
    EXPECT_EQ(findSymbol(reader, nullptr), nullptr);
    // Loading again gives the library already loaded.
    EXPECT_EQ(loadLibrary(STAND_IN_READER), reader);

    const char* refused[] = {"", "MorvaneNCIReader.so", "libc.so.6", "/no/such/library.so",
                             __FILE__};
    for (const char* path : refused)
        EXPECT_EQ(loadLibrary(path), nullptr) << path;
}

}  // namespace
}  // namespace morvane::platform
