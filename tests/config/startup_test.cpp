// The start-up entry and the stored "Inicio": order of the steps, the data written, what is left
// alone, and failures that must leave everything as it was.
#include <gtest/gtest.h>

#include <utility>

#include "config/startup.h"
#include "registry_sandbox.h"

namespace zelvaran::testing {
namespace {

using config::ApplyStartupChoice;
using config::StartupStep;

class StartupTest : public RegistryTest {};

TEST_F(StartupTest, TheCommandIsThisProgramsFullPathInQuotes) {
    const std::wstring command = config::RunCommandForThisProgram();
    EXPECT_EQ(command, ThisProgramQuoted());
    ASSERT_GT(command.size(), 4u);
    EXPECT_EQ(command.front(), L'"');
    EXPECT_EQ(command.back(), L'"');
    EXPECT_EQ(command.find(L'"', 1), command.size() - 1);
    EXPECT_NE(command.find(L":\\"), std::wstring::npos); // a full path, not a bare name
    EXPECT_EQ(command.substr(command.size() - 5), L".exe\"");
}

TEST_F(StartupTest, CheckedWritesTheRunEntryThenStoresOne) {
    const config::StartupOutcome outcome = ApplyStartupChoice(1);
    EXPECT_TRUE(outcome.Ok());
    const auto entry = RunEntry();
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->Type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(entry->Text, ThisProgramQuoted());
    ASSERT_TRUE(Stored(L"Inicio"));
    EXPECT_EQ(StoredText(L"Inicio"), L"1");
}

TEST_F(StartupTest, AnyOtherStateDeletesTheEntryAndStoresItsText) {
    // A value no box holds (-1) is stored as unchecked, as the entry now is, so that it reads
    // back; its own text would not.
    const std::pair<std::int16_t, const wchar_t*> cases[] = {{0, L"0"}, {2, L"2"}, {-1, L"0"}};
    for (const auto& [state, text] : cases) {
        ASSERT_TRUE(SetRunEntry(ThisProgramQuoted()));
        EXPECT_TRUE(ApplyStartupChoice(state).Ok());
        EXPECT_FALSE(RunEntry()) << state;
        ASSERT_TRUE(Stored(L"Inicio"));
        EXPECT_EQ(StoredText(L"Inicio"), text);
    }
}

TEST_F(StartupTest, DeletingAnAbsentEntryIsASuccess) {
    ASSERT_FALSE(RunEntry());
    EXPECT_TRUE(ApplyStartupChoice(0).Ok());
    EXPECT_EQ(StoredText(L"Inicio"), L"0");
    // Even where it could not be deleted: there is nothing to delete.
    ReadOnlyKey guard(HKEY_LOCAL_MACHINE, kRunPath);
    ASSERT_TRUE(guard.Denies());
    ASSERT_TRUE(Store(L"Inicio", L"1"));
    EXPECT_TRUE(ApplyStartupChoice(0).Ok());
    EXPECT_EQ(StoredText(L"Inicio"), L"0");
}

TEST_F(StartupTest, AnEntryAlreadyRightIsNotWrittenAgain) {
    ASSERT_TRUE(SetRunEntry(ThisProgramQuoted()));
    // Wine keeps no trace of a value written over itself; a read-only key refuses any write.
    ReadOnlyKey guard(HKEY_LOCAL_MACHINE, kRunPath);
    ASSERT_TRUE(guard.Denies());
    EXPECT_TRUE(ApplyStartupChoice(1).Ok());
    EXPECT_EQ(StoredText(L"Inicio"), L"1");
}

TEST_F(StartupTest, AnEntryWithOtherDataOrTypeIsReplaced) {
    struct Case {
        const wchar_t* Text;
        DWORD Type;
    };
    const std::wstring quoted = ThisProgramQuoted();
    const std::wstring unquoted = quoted.substr(1, quoted.size() - 2);
    const Case cases[] = {
        {L"c:\\Archivos de programa\\Morvantic\\Security Zelvaran\\zelvaran.exe", REG_SZ},
        {unquoted.c_str(), REG_SZ},
        {quoted.c_str(), REG_EXPAND_SZ},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(SetRunEntry(c.Text, c.Type));
        EXPECT_TRUE(ApplyStartupChoice(1).Ok());
        const auto entry = RunEntry();
        ASSERT_TRUE(entry);
        EXPECT_EQ(entry->Type, static_cast<DWORD>(REG_SZ));
        EXPECT_EQ(entry->Text, quoted);
    }
}

TEST_F(StartupTest, ADeniedWriteStoresNothing) {
    ReadOnlyKey guard(HKEY_LOCAL_MACHINE, kRunPath);
    ASSERT_TRUE(guard.Denies());
    const config::StartupOutcome outcome = ApplyStartupChoice(1);
    EXPECT_EQ(outcome.FailedStep, StartupStep::Registry);
    EXPECT_EQ(outcome.Code, ERROR_ACCESS_DENIED);
    EXPECT_FALSE(outcome.RunEntryLeftChanged);
    EXPECT_FALSE(RunEntry());
    EXPECT_FALSE(Stored(L"Inicio"));
}

TEST_F(StartupTest, ADeniedDeleteKeepsTheEntryAndTheStoredValue) {
    ASSERT_TRUE(ApplyStartupChoice(1).Ok());
    ReadOnlyKey guard(HKEY_LOCAL_MACHINE, kRunPath);
    ASSERT_TRUE(guard.Denies());
    const config::StartupOutcome outcome = ApplyStartupChoice(0);
    EXPECT_EQ(outcome.FailedStep, StartupStep::Registry);
    EXPECT_EQ(outcome.Code, ERROR_ACCESS_DENIED);
    ASSERT_TRUE(RunEntry());
    EXPECT_EQ(RunText(), ThisProgramQuoted());
    EXPECT_EQ(StoredText(L"Inicio"), L"1");
}

TEST_F(StartupTest, AFailedStorePutsTheRunEntryBackAsItWas) {
    // Enabling: the new entry goes again.
    ASSERT_TRUE(Store(L"Inicio", L"0"));
    {
        ReadOnlyKey guard(HKEY_CURRENT_USER, kSettingsKeyPath);
        ASSERT_TRUE(guard.Denies());
        const config::StartupOutcome outcome = ApplyStartupChoice(1);
        EXPECT_EQ(outcome.FailedStep, StartupStep::Setting);
        EXPECT_EQ(outcome.Code, ERROR_ACCESS_DENIED);
        EXPECT_FALSE(outcome.RunEntryLeftChanged);
        EXPECT_FALSE(RunEntry());
        EXPECT_EQ(StoredText(L"Inicio"), L"0");
    }
    // Disabling: the deleted entry comes back with its old data and type.
    ASSERT_TRUE(SetRunEntry(L"\"C:\\old place\\zelvaran.exe\"", REG_EXPAND_SZ));
    ASSERT_TRUE(Store(L"Inicio", L"1"));
    {
        ReadOnlyKey guard(HKEY_CURRENT_USER, kSettingsKeyPath);
        ASSERT_TRUE(guard.Denies());
        const config::StartupOutcome outcome = ApplyStartupChoice(0);
        EXPECT_EQ(outcome.FailedStep, StartupStep::Setting);
        const auto entry = RunEntry();
        ASSERT_TRUE(entry);
        EXPECT_EQ(entry->Type, static_cast<DWORD>(REG_EXPAND_SZ));
        EXPECT_EQ(entry->Text, L"\"C:\\old place\\zelvaran.exe\"");
        EXPECT_EQ(StoredText(L"Inicio"), L"1");
    }
}

} // namespace
} // namespace zelvaran::testing
