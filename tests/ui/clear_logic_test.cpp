// The countdown that empties the clipboard, step by step: copy, restart, a write by another
// program, the end of the session and a way out with the countdown still to run.
#include "output/clear_logic.h"

#include <gtest/gtest.h>

#include <optional>

namespace zelvaran::output {
namespace {

TEST(ClearLogic, OnlyTheFiveWrittenTextsAreChoices) {
    const struct {
        const wchar_t* Text;
        std::optional<std::uint32_t> Delay;
    } table[] = {
        // clang-format off
        {L"0", 0}, {L"10", 10}, {L"30", 30}, {L"60", 60}, {L"300", 300},
        {L"", std::nullopt}, {L"5", std::nullopt}, {L"00", std::nullopt}, {L"010", std::nullopt},
        {L"3000", std::nullopt}, {L" 10", std::nullopt}, {L"10s", std::nullopt},
        {L"-10", std::nullopt}, {L"1", std::nullopt},
        // clang-format on
    };
    for (const auto& row : table) {
        EXPECT_EQ(ParseClearDelay(row.Text), row.Delay) << row.Text;
    }
}

TEST(ClearLogic, EachEventDecidesTheNextStep) {
    constexpr Countdown kIdle{};
    constexpr Countdown kPending{true, 7, false, 0};
    constexpr Countdown kWaiting{true, 7, true, 0}; // the windows gone, the process kept
    constexpr Countdown kDone{false, 0, true, 0};
    const struct {
        const char* Name;
        Countdown Now;
        ClearInput In;
        Countdown Next;
        std::uint32_t TimerMs;
        bool Stop, Empty, End;
    } table[] = {
        // clang-format off
        // name                            now       event                                 next                timer  stop   empty  end
        {"copy starts",                    kIdle,    {ClearEvent::Copied, 7, 10},          kPending,           10000, false, false, false},
        {"a new copy restarts",            kPending, {ClearEvent::Copied, 9, 30},          {true, 9, false, 0}, 30000, false, false, false},
        {"a copy under Nunca",             kPending, {ClearEvent::Copied, 9, 0},           kIdle,              0,     true,  false, false},
        {"Nunca, nothing pending",         kIdle,    {ClearEvent::Copied, 9, 0},           kIdle,              0,     false, false, false},
        {"due, still ours",                kPending, {ClearEvent::Due, 7},                 kPending,           0,     false, true,  false},
        {"due, replaced",                  kPending, {ClearEvent::Due, 8},                 kIdle,              0,     true,  false, false},
        {"due, replaced, waiting",         kWaiting, {ClearEvent::Due, 8},                 kDone,              0,     true,  false, true},
        {"emptied",                        kPending, {ClearEvent::Cleared},                kIdle,              0,     true,  false, false},
        {"emptied, waiting",               kWaiting, {ClearEvent::Cleared},                kDone,              0,     true,  false, true},
        {"held open",                      kPending, {ClearEvent::Busy},                   {true, 7, false, 1}, kBusyRetryMs, false, false, false},
        {"held open for good",             {true, 7, true, kBusyRetries - 1}, {ClearEvent::Busy}, kDone,     0,     true,  false, true},
        {"our own write heard",            kPending, {ClearEvent::ClipboardChanged, 7},    kPending,           0,     false, false, false},
        {"another's write heard",          kPending, {ClearEvent::ClipboardChanged, 8},    kIdle,              0,     true,  false, false},
        {"another's write, waiting",       kWaiting, {ClearEvent::ClipboardChanged, 8},    kDone,              0,     true,  false, true},
        {"a change, nothing pending",      kIdle,    {ClearEvent::ClipboardChanged, 8},    kIdle,              0,     false, false, false},
        {"session ends, still ours",       kPending, {ClearEvent::EndSession, 7},          {false, 7, false, 0}, 0,   true,  true,  false},
        {"session ends, replaced",         kPending, {ClearEvent::EndSession, 8},          {false, 7, false, 0}, 0,   true,  false, false},
        {"session ends, nothing",          kIdle,    {ClearEvent::EndSession, 8},          kIdle,              0,     false, false, false},
        {"busy at session end, waiting",   {false, 7, true, 0}, {ClearEvent::Busy},        kDone,              0,     true,  false, true},
        {"way out, pending",               kPending, {ClearEvent::Exit},                   kWaiting,           0,     false, false, false},
        {"way out, nothing",               kIdle,    {ClearEvent::Exit},                   kIdle,              0,     false, false, true},
        // clang-format on
    };
    for (const auto& row : table) {
        const ClearActions out = DecideClear(row.Now, row.In);
        EXPECT_EQ(out.Next.Pending, row.Next.Pending) << row.Name;
        EXPECT_EQ(out.Next.Sequence, row.Next.Sequence) << row.Name;
        EXPECT_EQ(out.Next.Exiting, row.Next.Exiting) << row.Name;
        EXPECT_EQ(out.Next.Retries, row.Next.Retries) << row.Name;
        EXPECT_EQ(out.StartTimerMs, row.TimerMs) << row.Name;
        EXPECT_EQ(out.StopTimer, row.Stop) << row.Name;
        EXPECT_EQ(out.Empty, row.Empty) << row.Name;
        EXPECT_EQ(out.EndProcess, row.End) << row.Name;
    }
}

} // namespace
} // namespace zelvaran::output
