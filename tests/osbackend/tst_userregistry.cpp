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

namespace {

// A key of its own under a hive of the scratch folder (POSIX) or the prefix's (Wine).
class UserRegistry : public testing::Test {
protected:
    void SetUp() override
    {
#if !defined(_WIN32)
        ::setenv("TERN_REGISTRY_ROOT", (m_scratch.path() / "HKEY_CURRENT_USER").c_str(), 1);
#endif
    }

    void TearDown() override
    {
#if defined(_WIN32)
        RegDeleteTreeA(HKEY_CURRENT_USER, m_path.c_str());
#endif
    }

    ScratchDir m_scratch;
    const std::string m_path = "Software\\Tern Backend Test\\" + uniqueName("key");
};

} // namespace

TEST_F(UserRegistry, StringsRoundTrip)
{
    for (const std::string& text : { std::string("{0f0e0d0c-0b0a-0908-0706-050403020100}"),
             std::string("with spaces and = signs"),
             std::string("Gr\xc3\xbc\xc3\x9f"
                         "e"),
             std::string() }) {
        Os::UserRegistryKey key;
        ASSERT_TRUE(key.create(m_path));
        ASSERT_TRUE(key.setString("CEIPIdentifier", text));
        key.close();
        ASSERT_TRUE(key.openReadOnly(m_path));
        const Os::RegistryValue value = key.value("CEIPIdentifier");
        EXPECT_EQ(value.type, Os::RegistryValueType::String);
        EXPECT_EQ(value.text, text);
    }
}

TEST_F(UserRegistry, OtherTypesAndMissingValuesAreToldApart)
{
    Os::UserRegistryKey key;
    ASSERT_TRUE(key.create(m_path));
    ASSERT_TRUE(key.setBinary("binary", { 0x7b, 0x00, 0xff }));
    EXPECT_EQ(key.value("binary").type, Os::RegistryValueType::Other);
    EXPECT_EQ(key.value("binary").text, "");
    EXPECT_EQ(key.value("missing").type, Os::RegistryValueType::None);
    ASSERT_TRUE(key.setString("gone", "soon"));
    EXPECT_TRUE(key.remove("gone"));
    EXPECT_EQ(key.value("gone").type, Os::RegistryValueType::None);
    EXPECT_FALSE(key.remove("gone"));
}

TEST_F(UserRegistry, ReadOnlyKeysRefuseChanges)
{
    Os::UserRegistryKey key;
    EXPECT_FALSE(key.openReadOnly(m_path)) << "a key that does not exist";
    ASSERT_TRUE(key.create(m_path));
    ASSERT_TRUE(key.setString("kept", "as it was"));
    ASSERT_TRUE(key.openReadOnly(m_path));
    EXPECT_FALSE(key.setString("kept", "changed"));
    EXPECT_FALSE(key.setBinary("added", { 1 }));
    EXPECT_FALSE(key.remove("kept"));
    EXPECT_EQ(key.value("kept").text, "as it was");
}

TEST(Uuid, BracedLowerCaseAndNewEachTime)
{
    const std::regex form("\\{[0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12}\\}");
    const std::string first = Os::createUuidString();
    const std::string second = Os::createUuidString();
    EXPECT_TRUE(std::regex_match(first, form)) << first;
    EXPECT_TRUE(std::regex_match(second, form)) << second;
    EXPECT_NE(first, second);
}
