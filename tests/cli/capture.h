// In-process helpers: a sink that keeps what it is given, and Main run over a scripted source.
#pragma once

#include "cli/run.h"
#include "cli/text.h"
#include "generator/words.h"

#include <string>

namespace zelvaran::cli::testing {

class CaptureSink final : public Sink {
public:
    [[nodiscard]] bool Write(std::u16string_view text) override {
        text_ += text;
        return true;
    }
    [[nodiscard]] bool Flush() override { return true; }
    [[nodiscard]] std::string Utf8() const { return ToUtf8(text_); }

private:
    std::u16string text_;
};

struct Outcome {
    int ExitCode;
    std::string Out;
    std::string Err;
};

inline Outcome RunMain(const std::vector<std::string>& args, RandomSource& random) {
    std::vector<std::u16string> wide;
    for (const std::string& arg : args) {
        wide.push_back(FromUtf8(arg).value());
    }
    CaptureSink out;
    CaptureSink err;
    const int code = Main(wide, out, err, random, SpanishWords);
    return {code, out.Utf8(), err.Utf8()};
}

} // namespace zelvaran::cli::testing
