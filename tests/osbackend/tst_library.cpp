// Libraries loaded at run time: found by path, resolved by name, and a clear error when not.

#include "backendtest.h"

#include "os/executables.h"

#include <gtest/gtest.h>

using namespace BackendTest;

namespace {

std::string besideThisProgram(const std::string& fileName)
{
    return (fs::u8path(Os::executablePath()).parent_path() / fs::u8path(fileName)).u8string();
}

} // namespace

TEST(Library, LoadedResolvedAndCalled)
{
    Os::Library library;
    ASSERT_TRUE(library.load(besideThisProgram(Os::sharedLibraryFileName("osprobe"))))
        << library.errorString();
    EXPECT_TRUE(library.isLoaded());
    using Answer = int (*)();
    const auto answer = reinterpret_cast<Answer>(library.resolve("osProbeAnswer"));
    ASSERT_NE(answer, nullptr);
    EXPECT_EQ(answer(), 42);
    EXPECT_EQ(library.resolve("noSuchEntry"), nullptr);
}

TEST(Library, MissingLibrarySaysSo)
{
    const std::string path = besideThisProgram(Os::sharedLibraryFileName("osprobe-missing"));
    Os::Library library;
    EXPECT_FALSE(library.load(path));
    EXPECT_FALSE(library.isLoaded());
    EXPECT_NE(library.errorString().find("osprobe-missing"), std::string::npos)
        << library.errorString();
    EXPECT_EQ(library.resolve("osProbeAnswer"), nullptr);
}
