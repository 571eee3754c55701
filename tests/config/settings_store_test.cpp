// The per-user settings store: where values live, their type, defaults, and what reading leaves.
#include <gtest/gtest.h>

#include "config/settings_store.h"
#include "registry_sandbox.h"

namespace zelvaran::testing {
namespace {

using config::GetSetting;
using config::SaveSetting;

class SettingsStoreTest : public RegistryTest {};

TEST_F(SettingsStoreTest, KeepsValuesWhereTheClassicSettingsApiDoes) {
    EXPECT_EQ(config::SettingsKeyPath(L"Zelvaran", L"Settings"), kSettingsKeyPath);
    ASSERT_EQ(SaveSetting(L"Zelvaran", L"Settings", L"Inicio", L"1"), ERROR_SUCCESS);
    const auto stored = Stored(L"Inicio");
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->Type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(stored->Text, L"1");
    EXPECT_FALSE(Stored(L"ChTop")); // one key at a time
}

TEST_F(SettingsStoreTest, ReadsWhatAnEarlierReleaseStored) {
    ASSERT_TRUE(Store(L"ChTop", L"1"));
    ASSERT_TRUE(Store(L"Inicio", L"0"));
    EXPECT_EQ(GetSetting(L"Zelvaran", L"Settings", L"ChTop", L"0"), L"1");
    EXPECT_EQ(GetSetting(L"Zelvaran", L"Settings", L"Inicio", L"1"), L"0");
    // Text stored without its terminator reads the same.
    ASSERT_TRUE(WriteValue(HKEY_CURRENT_USER, kSettingsKeyPath, L"ChTop", REG_SZ, L"1", false));
    EXPECT_EQ(GetSetting(L"Zelvaran", L"Settings", L"ChTop", L"0"), L"1");
}

TEST_F(SettingsStoreTest, AbsentApplicationSectionOrKeyGivesTheDefaultAndCreatesNothing) {
    EXPECT_EQ(GetSetting(L"Zelvaran", L"Settings", L"Inicio", L"0"), L"0");
    EXPECT_EQ(GetSetting(L"Zelvaran", L"Settings", L"Inicio", L"1"), L"1");
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kAppKeyPath));
    ASSERT_TRUE(Store(L"ChTop", L"1"));
    EXPECT_EQ(GetSetting(L"Zelvaran", L"Settings", L"Inicio", L"default"), L"default");
    EXPECT_EQ(GetSetting(L"Zelvaran", L"Otra", L"ChTop", L"x"), L"x");
    EXPECT_FALSE(Stored(L"Inicio"));
}

TEST_F(SettingsStoreTest, AValueThatIsNotTextGivesTheDefault) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKeyPath, 0, nullptr, 0, KEY_SET_VALUE,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const DWORD one = 1;
    ASSERT_EQ(RegSetValueExW(key, L"Inicio", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one),
                             sizeof(one)),
              ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(GetSetting(L"Zelvaran", L"Settings", L"Inicio", L"0"), L"0");
    ASSERT_TRUE(WriteValue(HKEY_CURRENT_USER, kSettingsKeyPath, L"Inicio", REG_EXPAND_SZ, L"1"));
    EXPECT_EQ(GetSetting(L"Zelvaran", L"Settings", L"Inicio", L"0"), L"0");
}

TEST_F(SettingsStoreTest, SavingReplacesTheValue) {
    ASSERT_EQ(SaveSetting(L"Zelvaran", L"Settings", L"ChTop", L"1"), ERROR_SUCCESS);
    ASSERT_EQ(SaveSetting(L"Zelvaran", L"Settings", L"ChTop", L"0"), ERROR_SUCCESS);
    EXPECT_EQ(StoredText(L"ChTop"), L"0");
    EXPECT_EQ(StoredType(L"ChTop"), static_cast<DWORD>(REG_SZ));
}

TEST_F(SettingsStoreTest, AReadOnlySectionReportsAccessDeniedAndKeepsTheValue) {
    ASSERT_TRUE(Store(L"ChTop", L"0"));
    ReadOnlyKey guard(HKEY_CURRENT_USER, kSettingsKeyPath);
    ASSERT_TRUE(guard.Denies());
    EXPECT_EQ(SaveSetting(L"Zelvaran", L"Settings", L"ChTop", L"1"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(StoredText(L"ChTop"), L"0");
    EXPECT_EQ(GetSetting(L"Zelvaran", L"Settings", L"ChTop", L"x"), L"0"); // reading still works
}

} // namespace
} // namespace zelvaran::testing
