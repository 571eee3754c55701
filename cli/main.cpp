// zelvaran-cli: the password generator from the command line. Windows passes the arguments as
// UTF-16 (wmain); Linux as bytes, read as UTF-8.
#include "cli/run.h"
#include "cli/std_stream.h"
#include "cli/text.h"
#include "generator/words.h"
#ifdef _WIN32
#include "ui/process_hardening.h"
#endif

#include <variant>

namespace {

int RunWith(const std::vector<std::u16string>& args) {
    zelvaran::cli::StdStream out(zelvaran::cli::StdStreamId::Output);
    zelvaran::cli::StdStream err(zelvaran::cli::StdStreamId::Error);
    zelvaran::SystemRandomSource random;
    return zelvaran::cli::Main(args, out, err, random, zelvaran::SpanishWords);
}

} // namespace

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
    zelvaran::ui::HardenProcess();
    std::vector<std::u16string> args;
    for (int i = 1; i < argc; ++i) {
        const std::wstring_view arg(argv[i]);
        args.emplace_back(arg.begin(), arg.end());
    }
    return RunWith(args);
}
#else
int main(int argc, char** argv) {
    auto decoded = zelvaran::cli::DecodeArguments(argc, argv);
    if (auto* args = std::get_if<std::vector<std::u16string>>(&decoded)) {
        return RunWith(*args);
    }
    // Nothing reaches standard output, as with every other usage error.
    zelvaran::cli::StdStream err(zelvaran::cli::StdStreamId::Error);
    const auto& message = std::get<zelvaran::cli::UsageError>(decoded).Message;
    (void)(err.Write(zelvaran::cli::FromUtf8(message).value_or(u"zelvaran-cli")) &&
           err.Write(u"\n") && err.Flush());
    return zelvaran::cli::kExitUsage;
}
#endif
