// The current user's registry: values read back as stored, other types told apart from
// strings, keys opened read-only refuse to change; and the identifiers kept there.

#include "backendtest.h"

#include "os/userregistry.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>

#if defined(_WIN32)
#include <windows.h>
#endif

using namespace BackendTest;

TEST(UserRegistry, ValuesReadBackAsStoredAndReadOnlyKeysRefuseChanges)
{
    // A key of its own under a hive of the scratch folder (POSIX) or the prefix's (Wine).
    ScratchDir scratch;
    const std::string path = "Software\\Tern Backend Test\\" + uniqueName("key");
#if !defined(_WIN32)
    ::setenv("TERN_REGISTRY_ROOT", (scratch.path / "HKEY_CURRENT_USER").c_str(), 1);
#endif
    Os::UserRegistryKey key;
    EXPECT_FALSE(key.openReadOnly(path)) << "a key that does not exist";
    // Each replaces the one before.
    const std::string last = "{0f0e0d0c-0b0a-0908-0706-050403020100}";
    for (const std::string text :
        { "", "with spaces and = signs", "Gr\u00fc\u00dfe", last.c_str() }) {
        ASSERT_TRUE(key.create(path));
        ASSERT_TRUE(key.setString("CEIPIdentifier", text));
        key.close();
        ASSERT_TRUE(key.openReadOnly(path));
        EXPECT_EQ(key.value("CEIPIdentifier").type, Os::RegistryValueType::String);
        EXPECT_EQ(key.value("CEIPIdentifier").text, text);
    }
    EXPECT_FALSE(key.setString("CEIPIdentifier", "changed"));
    EXPECT_FALSE(key.setBinary("added", { 1 }));
    EXPECT_FALSE(key.remove("CEIPIdentifier"));
    EXPECT_EQ(key.value("CEIPIdentifier").text, last);

    ASSERT_TRUE(key.create(path));
    ASSERT_TRUE(key.setBinary("binary", { 0x7b, 0x00, 0xff }));
    EXPECT_EQ(key.value("binary").type, Os::RegistryValueType::Other);
    EXPECT_EQ(key.value("binary").text, "");
    EXPECT_EQ(key.value("missing").type, Os::RegistryValueType::None);
    EXPECT_TRUE(key.remove("CEIPIdentifier"));
    EXPECT_EQ(key.value("CEIPIdentifier").type, Os::RegistryValueType::None);
    EXPECT_FALSE(key.remove("CEIPIdentifier"));
#if defined(_WIN32)
    RegDeleteTreeA(HKEY_CURRENT_USER, path.c_str());
#endif
}

TEST(Uuid, BracedLowerCaseAndNewEachTime)
{
    const std::regex form("\\{[0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12}\\}");
    const std::string first = Os::createUuidString();
    EXPECT_TRUE(std::regex_match(first, form)) << first;
    EXPECT_NE(first, Os::createUuidString());
}
