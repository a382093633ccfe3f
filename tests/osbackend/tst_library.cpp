// Libraries loaded at run time: found by path, resolved by name, and a clear error when not.

#include "backendtest.h"

#include "os/executables.h"

#include <gtest/gtest.h>

using namespace BackendTest;

TEST(Library, LoadedResolvedAndCalledOrMissingAndSaysSo)
{
    const fs::path here = fs::u8path(Os::executablePath()).parent_path();
    Os::Library library;
    ASSERT_TRUE(library.load((here / Os::sharedLibraryFileName("osprobe")).u8string()))
        << library.errorString();
    EXPECT_TRUE(library.isLoaded());
    const auto answer = reinterpret_cast<int (*)()>(library.resolve("osProbeAnswer"));
    ASSERT_NE(answer, nullptr);
    EXPECT_EQ(answer(), 42);
    EXPECT_EQ(library.resolve("noSuchEntry"), nullptr);

    Os::Library missing;
    EXPECT_FALSE(missing.load((here / Os::sharedLibraryFileName("osprobe-missing")).u8string()));
    EXPECT_FALSE(missing.isLoaded());
    EXPECT_NE(missing.errorString().find("osprobe-missing"), std::string::npos)
        << missing.errorString();
    EXPECT_EQ(missing.resolve("osProbeAnswer"), nullptr);
}
