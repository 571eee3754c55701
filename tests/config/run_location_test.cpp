// Where a copy's start-up entry belongs, decided from path texts alone; and which command lines
// run the elevated step.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "config/run_location.h"

namespace zelvaran::config {
namespace {

const std::vector<std::wstring> kProgramFiles = {L"C:\\Program Files", L"C:\\Program Files (x86)",
                                                 L"C:\\Program Files", L""};

// Where each path's entry belongs, with `folders` as the Program Files folders.
void ExpectRoots(const std::vector<std::wstring>& folders,
                 std::initializer_list<std::pair<const wchar_t*, RunRoot>> cases) {
    for (const auto& [path, root] : cases) {
        EXPECT_EQ(RunRootFor(path, folders), root) << std::string(path, path + std::wcslen(path));
    }
}

TEST(RunLocation, OnlyACopyInsideProgramFilesHasTheMachineWideEntry) {
    ExpectRoots(
        kProgramFiles,
        {
            {L"C:\\Program Files\\Morvantic\\Security Zelvaran\\zelvaran.exe", RunRoot::Machine},
            {L"C:\\Program Files (x86)\\Zelvaran\\zelvaran.exe", RunRoot::Machine},
            {L"c:\\PROGRAM FILES\\zelvaran.exe", RunRoot::Machine},
            {L"\\\\?\\C:\\Program Files\\Zelvaran\\zelvaran.exe", RunRoot::Machine},
            {L"C:/Program Files/Zelvaran/zelvaran.exe", RunRoot::Machine},
            {L"C:\\Program Files Evil\\zelvaran.exe", RunRoot::User},
            {L"C:\\Program Files (x86) Evil\\zelvaran.exe", RunRoot::User},
            {L"C:\\Program Filesx\\zelvaran.exe", RunRoot::User},
            {L"C:\\Program Files", RunRoot::User},
            {L"C:\\Program Files\\", RunRoot::User},
            {L"C:\\Program Files\\..\\Users\\ana\\zelvaran.exe", RunRoot::User},
            {L"C:\\Program Files\\.\\zelvaran.exe", RunRoot::User},
            {L"D:\\Program Files\\zelvaran.exe", RunRoot::User},
            {L"D:\\Tools\\zelvaran.exe", RunRoot::User},
            {L"C:\\Users\\ana\\Downloads\\zelvaran.exe", RunRoot::User},
            {L"\\\\server\\share\\Program Files\\zelvaran.exe", RunRoot::User},
            {L"\\\\?\\UNC\\server\\share\\zelvaran.exe", RunRoot::User},
            {L"zelvaran.exe", RunRoot::User},
            {L"", RunRoot::User},
        });
    EXPECT_EQ(RunRootFor(L"C:\\Program Files\\zelvaran.exe", {}), RunRoot::User);
}

TEST(RunLocation, FoldersGivenInTheirLongOrNetworkFormCountToo) {
    ExpectRoots({L"\\\\?\\UNC\\srv\\apps\\Programas\\", L"\\\\?\\E:\\Programas \u00C1rbol"},
                {
                    {L"\\\\srv\\apps\\Programas\\z.exe", RunRoot::Machine},
                    {L"\\\\?\\unc\\SRV\\Apps\\programas\\z.exe", RunRoot::Machine},
                    {L"\\srv\\apps\\Programas\\z.exe", RunRoot::User},
                    {L"E:\\PROGRAMAS \u00E1RBOL\\z.exe", RunRoot::Machine},
                    {L"E:\\Programas \u00C1rbolito\\z.exe", RunRoot::User},
                });
}

TEST(RunLocation, EveryFolderAboveAPathDownToItsRoot) {
    using Folders = std::vector<std::wstring>;
    const std::pair<const wchar_t*, Folders> cases[] = {
        {L"C:\\Program Files\\Zelvaran\\z.exe",
         {L"C:\\Program Files\\Zelvaran", L"C:\\Program Files", L"C:\\"}},
        {L"\\\\?\\D:\\z.exe", {L"D:\\"}},
        {L"\\\\?\\UNC\\srv\\apps\\x\\z.exe", {L"\\\\srv\\apps\\x", L"\\\\srv\\apps\\"}},
        {L"\\\\srv\\apps", {}},
        {L"C:\\", {}},
        {L"z.exe", {}},
    };
    for (const auto& [path, folders] : cases) {
        EXPECT_EQ(FoldersAbove(path), folders) << std::string(path, path + std::wcslen(path));
    }
}

TEST(RunLocation, PendingRenamesAndDeletesInsideAFolder) {
    const wchar_t* folder = L"C:\\Program Files\\Zelvaran";
    const std::pair<std::vector<std::wstring>, bool> cases[] = {
        {{L"\\??\\c:\\program files\\zelvaran\\zelvaran.exe", L""}, true},
        {{L"\\??\\C:\\tmp\\x.tmp", L"!\\??\\C:\\Program Files\\Zelvaran\\z.chm"}, true},
        {{L"\\??\\C:\\Program Files\\Zelvaran", L""}, true},
        {{L"\\??\\C:\\Program Files\\Zelvaran2\\z.exe", L"", L"\\??\\C:\\Program Files\\x"}, false},
        {{L"\\??\\C:\\Program Files\\Otro\\..\\.\\Zelvaran\\z.exe"}, true},
        {{L"\\??\\C:\\Program Files\\Zelvaran\\..\\Otro"}, false},
        {{}, false},
    };
    for (const auto& [operations, inside] : cases) {
        EXPECT_EQ(AnyPendingInside(operations, folder), inside) << operations.size();
    }
    const std::pair<const wchar_t*, const wchar_t*> paths[] = {
        {L"!\\??\\C:\\a\\..\\b\\.\\c\\", L"C:\\b\\c"},
        {L"\\??\\unc\\srv\\share\\x\\..\\..\\y", L"\\\\srv\\share\\y"},
        {L"\\??\\C:\\..\\..\\x", L"C:\\x"},
        {L"", L""},
    };
    for (const auto& [entry, path] : paths) {
        EXPECT_EQ(PendingPath(entry), path) << std::string(entry, entry + std::wcslen(entry));
    }
}

TEST(RunLocation, ACommandStartsACopyByItsQuotedOrWholePathCaseAside) {
    const wchar_t* path = L"C:\\Program Files\\Zelvaran\\zelvaran.exe";
    const std::pair<const wchar_t*, bool> cases[] = {
        {L"\"C:\\Program Files\\Zelvaran\\zelvaran.exe\"", true},
        {L"\"c:\\program files\\zelvaran\\ZELVARAN.EXE\" /min", true},
        {L"  C:\\Program Files\\Zelvaran\\zelvaran.exe  ", true},
        {L"\"C:\\Program Files\\Zelvaran\\zelvaran.exe.bak\"", false},
        {L"\"C:\\Program Files\\Zelvaran\\zelvaran.exe", false},
        {L"\"D:\\Tools\\zelvaran.exe\"", false},
        {L"\"\"", false},
        {L"", false},
    };
    for (const auto& [command, starts] : cases) {
        EXPECT_EQ(CommandStarts(command, path), starts)
            << std::string(command, command + std::wcslen(command));
    }
    EXPECT_EQ(RunCommandFor(path), L"\"C:\\Program Files\\Zelvaran\\zelvaran.exe\"");
}

TEST(RunLocation, OnlyTheTwoSwitchesAloneRunTheElevatedStep) {
    const std::pair<const wchar_t*, std::optional<MachineStep>> cases[] = {
        {L"/inicio-equipo:escribir", MachineStep::Write},
        {L" /inicio-equipo:borrar\t", MachineStep::Delete},
        {L"", std::nullopt},
        {L"/inicio-equipo:escribir x", std::nullopt},
        {L"/INICIO-EQUIPO:BORRAR", std::nullopt},
        {L"\"/inicio-equipo:borrar\"", std::nullopt},
        {L"/inicio-equipo:", std::nullopt},
    };
    for (const auto& [line, step] : cases) {
        EXPECT_EQ(MachineStepFromCommandLine(line), step)
            << std::string(line, line + std::wcslen(line));
    }
}

} // namespace
} // namespace zelvaran::config
