// The command line as a table: what each accepted form sets, and the exit code and exact
// message of every refusal. Usage errors and refusals never write to standard output.
#include "capture.h"

#include "../generator/test_support.h"
#include "cli/options.h"

#include <gtest/gtest.h>

namespace zelvaran::cli::testing {
namespace {

using zelvaran::testing::Constant;
using zelvaran::testing::FailingSource;

struct Accepted {
    std::vector<std::string> Args;
    int Length, Count;
    std::u16string Classes, Symbols;
    std::optional<std::u16string> Format;
    int Words;
    std::u16string Separator;
    bool Entropy;
};

TEST(CliOptions, AcceptedFormsSetTheirValues) {
    const std::u16string twelve(kInitialSymbols);
    const std::vector<Accepted> table = {
        {{}, 20, 1, u"cgn", twelve, std::nullopt, 0, u"-", false},
        {{"-l", "0", "-n", "100000"}, 0, 100000, u"cgn", twelve, std::nullopt, 0, u"-", false},
        {{"--longitud=9999", "--cantidad", "3"},
         9999,
         3,
         u"cgn",
         twelve,
         std::nullopt,
         0,
         u"-",
         false},
        {{"-l0012"}, 12, 1, u"cgn", twelve, std::nullopt, 0, u"-", false},
        {{"-el", "7", "-cCGne"}, 7, 1, u"CGne", twelve, std::nullopt, 0, u"-", true},
        {{"-c", "e", "-s", "\u20AC\U0001F600", "--formato=", "-l", "1", "-l", "2"},
         2,
         1,
         u"e",
         u"\u20AC\U0001F600",
         u"",
         0,
         u"-",
         false},
        {{"-p", "64", "-S", "-", "--separador=", "--entropia", "-M"}, // capitals mark the words
         20,
         1,
         u"cgn",
         twelve,
         std::nullopt,
         64,
         u"",
         true},
        // Long names with their accents, composed or as a combining mark.
        {{"--frase=1", "--entropi\u0301a"}, 20, 1, u"cgn", twelve, std::nullopt, 1, u"-", true},
        {{"-cce", "--s\u00EDmbolos=ab"}, 20, 1, u"ce", u"ab", std::nullopt, 0, u"-", false},
        // Without -l a template sets the length, one per character (a pair is one).
        {{"-f", "\U0001F600N-n"}, 4, 1, u"cgn", twelve, u"\U0001F600N-n", 0, u"-", false},
        {{"-l", "5", "-f", "NN"}, 5, 1, u"cgn", twelve, u"NN", 0, u"-", false},
        {{"-c", "", "--"}, 20, 1, u"", twelve, std::nullopt, 0, u"-", false},
    };
    for (const Accepted& row : table) {
        std::vector<std::u16string> args;
        for (const std::string& arg : row.Args) {
            args.push_back(FromUtf8(arg).value());
        }
        const auto parsed = ParseArguments(args);
        const std::string joined = ::testing::PrintToString(row.Args);
        const auto* options = std::get_if<CliOptions>(&parsed);
        ASSERT_NE(options, nullptr) << joined << ": " << std::get<UsageError>(parsed).Message;
        EXPECT_EQ(options->Length, row.Length) << joined;
        EXPECT_EQ(options->Count, row.Count) << joined;
        EXPECT_EQ(options->Classes, row.Classes) << joined;
        EXPECT_EQ(options->Symbols, row.Symbols) << joined;
        EXPECT_EQ(options->Format, row.Format) << joined;
        EXPECT_EQ(options->Words, row.Words) << joined;
        EXPECT_EQ(options->Separator, row.Separator) << joined;
        EXPECT_EQ(options->Entropy, row.Entropy) << joined;
    }
    const auto touches = std::get<CliOptions>(ParseArguments({u"-p2", u"-Mdw", u"-"}));
    EXPECT_TRUE(touches.Capitalize && touches.AddDigit && touches.WordList == u"-");
    const auto plain = std::get<CliOptions>(ParseArguments({u"--frase=2"}));
    EXPECT_FALSE(plain.Capitalize || plain.AddDigit || plain.WordList);
    // Windows may pass half a surrogate pair; no result may carry one.
    const std::u16string half = {u'a', char16_t(0xD800), u'b'};
    const auto parsed = ParseArguments({u"-p", u"2", u"-S", half});
    EXPECT_EQ(std::get<CliOptions>(parsed).Separator, u"a\uFFFDb");
}

struct Refused {
    std::vector<std::string> Args;
    int ExitCode;
    std::string Message; // standard error between "zelvaran-cli: " and the line's end
};

// Message families that several refusals share, written once each.
std::string Range(const std::string& option, const std::string& range, const std::string& typed) {
    return option + " debe ser un n\u00FAmero de " + range + ", no \u00AB" + typed + "\u00BB";
}

std::string NotWithPhrase(const std::string& option) {
    return "-p/--frase no se combina con " + option +
           ": una frase de contrase\u00F1a no tiene longitud, tipos de caracteres, s\u00EDmbolos "
           "ni formato";
}

std::string PhraseOnly(const std::string& option, const std::string& letter) {
    return option + " solo sirve para las frases de contrase\u00F1a: a\u00F1ada -p N o quite -" +
           letter;
}

std::string OneLine(const std::string& option, const std::string& code) {
    return option + " no admite caracteres de control ni saltos de l\u00EDnea (aqu\u00ED U+" +
           code + "): cada resultado va en una sola l\u00EDnea";
}

std::string TemplateAsks(const std::string& kind, const std::string& letter) {
    return "la plantilla de -f/--formato pide " + kind +
           "), que -c/--clases no incluye: a\u00F1ada " + letter + " a -c o cambie la plantilla";
}

TEST(CliOptions, EveryRefusalHasItsExitCodeAndMessage) {
    std::string cjk; // 3000 symbols against one character of each other class
    for (char32_t c = 0x4E00; c < 0x4E00 + 3000; ++c) {
        cjk += ToUtf8(std::u16string(1, static_cast<char16_t>(c)));
    }
    const std::string length = "-l/--longitud";
    const std::string count = "-n/--cantidad";
    const std::string phrase = "-p/--frase";
    const std::string noSymbols = "-c/--clases incluye e (s\u00EDmbolos), pero -s/--simbolos "
                                  "est\u00E1 vac\u00EDo: escriba s\u00EDmbolos en -s o quite la e "
                                  "de -c";
    const std::vector<Refused> table = {
        {{"--longuitud", "5"}, 2, "opci\u00F3n desconocida \u00AB--longuitud\u00BB"},
        {{"-lx"}, 2, Range(length, "0 a 9999", "x")},
        {{"-q"}, 2, "opci\u00F3n desconocida \u00AB-q\u00BB"},
        {{"extra"}, 2, "argumento inesperado \u00ABextra\u00BB"},
        {{"a\nb\x1B[2J"}, 2, "argumento inesperado \u00ABa?b?[2J\u00BB"},
        {{"--", "-l"}, 2, "argumento inesperado \u00AB-l\u00BB"},
        {{"-l"}, 2, "falta el valor de -l/--longitud"},
        {{"--cantidad"}, 2, "falta el valor de -n/--cantidad"},
        {{"-l", "10000"}, 2, Range(length, "0 a 9999", "10000")},
        {{"-l", "+5"}, 2, Range(length, "0 a 9999", "+5")},
        {{"-l", ""}, 2, Range(length, "0 a 9999", "")},
        {{"-n", "0"}, 2, Range(count, "1 a 100000", "0")},
        {{"-n", "100001"}, 2, Range(count, "1 a 100000", "100001")},
        {{"-n", "99999999999999999999"}, 2, Range(count, "1 a 100000", "99999999999999999999")},
        {{"-p", "65"}, 2, Range(phrase, "1 a 64", "65")},
        {{"--frase= 3"}, 2, Range(phrase, "1 a 64", " 3")},
        {{"-c", "cga"},
         2,
         "la letra \u00ABa\u00BB de -c/--clases no es un tipo de caracteres (c min\u00FAsculas, "
         "g may\u00FAsculas, n n\u00FAmeros, e s\u00EDmbolos)"},
        {{"--entropia=1"}, 2, "la opci\u00F3n -e/--entropia no lleva valor"},
        {{"-p", "4", "-f", "ACGN"}, 2, NotWithPhrase("-f/--formato")},
        {{"-l", "8", "-p", "4"}, 2, NotWithPhrase("-l/--longitud")},
        {{"-p4", "-c", "cgn"}, 2, NotWithPhrase("-c/--clases")},
        {{"-p", "2", "-s", "x"}, 2, NotWithPhrase("-s/--simbolos")},
        {{"--entrop\u00EDa=1"}, 2, "la opci\u00F3n -e/--entropia no lleva valor"},
        // Options that would be ignored say what to add.
        {{"-s", "ab", "-c", "cgnC"},
         2,
         "-s/--simbolos da los s\u00EDmbolos del tipo e, que -c/--clases no incluye: "
         "a\u00F1ada e a -c o quite -s"},
        {{"-S", "."}, 2, PhraseOnly("-S/--separador", "S")},
        // Text that reaches the output as written keeps every result on one line.
        {{"-p", "3", "-S", "\n"}, 2, OneLine("-S/--separador", "000A")},
        // An empty separator needs the capitals; an invisible one shows a phrase unlike the typed.
        {{"-p", "3", "-S", ""},
         2,
         "-S/--separador vac\u00EDo solo se admite con -M/--mayusculas: sin separador, solo las "
         "may\u00FAsculas marcan d\u00F3nde empieza cada palabra; a\u00F1ada -M o escriba un "
         "separador"},
        {{"-p", "3", "-M", "-S", "\u200B"},
         2,
         "-S/--separador no admite caracteres invisibles ni de formato (aqu\u00ED U+200B): la "
         "frase que se ve ser\u00EDa distinta de la que se escribe"},
        {{"-c", "e", "-s", "ab\u0085"}, 2, OneLine("-s/--simbolos", "0085")},
        {{"-f", "NN\u2028N"}, 2, OneLine("-f/--formato", "2028")},
        {{"-f", std::string(10000, 'N')},
         2,
         "la plantilla de -f/--formato tiene m\u00E1s de 9999 caracteres: ac\u00F3rtela o "
         "indique la longitud con -l"},
        {{"-M"}, 2, PhraseOnly("-M/--mayusculas", "M")},
        {{"-l", "5", "--cifra"}, 2, PhraseOnly("-d/--cifra", "d")},
        {{"-p", "3", "--lista="},
         2,
         "falta el nombre del archivo de -w/--lista (- para la entrada est\u00E1ndar)"},
        // The generator's refusals: exit 1, the option to change named.
        {{"-c", "e", "-s", ""}, 1, noSymbols},
        {{"-c", ""},
         1,
         "-c/--clases no elige ning\u00FAn tipo de caracteres: indique al menos uno (c "
         "min\u00FAsculas, g may\u00FAsculas, n n\u00FAmeros, e s\u00EDmbolos)"},
        {{"-f", ""},
         1,
         "la plantilla de -f/--formato est\u00E1 vac\u00EDa: escriba un formato (por ejemplo "
         "ACGNE) o quite -f"},
        // Empty template and empty symbols: the symbols are checked first, as in the window.
        {{"-f", "", "-c", "e", "-s", ""}, 1, noSymbols},
        {{"-f", "ACGNE"}, 1, TemplateAsks("E (s\u00EDmbolos", "e")},
        {{"-f", "xxc", "-c", "n", "-l", "0"}, 1, TemplateAsks("C (min\u00FAsculas", "c")},
        {{"-f", "NNNg", "-c", "Cn", "-l", "2"}, 1, TemplateAsks("G (may\u00FAsculas", "g")},
        // The rules: -t, -a and -x.
        {{"-t", "-f", "CN"},
         2,
         "-t/--todas no se combina con -f/--formato: la plantilla ya fija el tipo de cada "
         "posici\u00F3n"},
        {{"-p", "3", "--excluir=a"}, 2, NotWithPhrase("-x/--excluir")},
        {{"--todas=1"}, 2, "la opci\u00F3n -t/--todas no lleva valor"},
        {{"-x"}, 2, "falta el valor de -x/--excluir"},
        {{"-tl", "3", "-c", "cgne"},
         1,
         "-t/--todas pide un car\u00E1cter de cada uno de los 4 tipos de caracteres de "
         "-c/--clases, m\u00E1s de lo que da -l/--longitud: d\u00E9 a -l 4 o m\u00E1s, o quite "
         "-t"},
        {{"-c", "gn", "-x", "0123456789"},
         1,
         "-x/--excluir deja sin caracteres el tipo n (n\u00FAmeros): excluya menos caracteres "
         "con -x o quite la n de -c/--clases"},
        {{"-t", "-l", "4", "-c", "cgne", "-s", cjk, "-x",
          "bcdefghijklmnopqrstuvwxyzBCDEFGHIJKLMNOPQRSTUVWXYZ013456789"},
         1,
         "-t/--todas: casi ninguna contrase\u00F1a de esta longitud lleva un car\u00E1cter de "
         "cada tipo de -c/--clases, y buscarla llevar\u00EDa demasiado tiempo: aumente -l, "
         "acorte -s o quite -t"},
        {{"--sin-parecidos", "-c", "ce", "-s", "|\u00A6"},
         1,
         "-a/--sin-parecidos deja sin caracteres el tipo e (s\u00EDmbolos): son todos "
         "parecidos (0 O o 1 l I | \u00A6); escriba otros en -s, quite -a o quite la e de "
         "-c/--clases"},
    };
    // A usage error (exit 2) ends by pointing to the help; the generator's refusals do not.
    const std::string hint = ". M\u00E1s informaci\u00F3n: zelvaran-cli --ayuda\n";
    for (const Refused& row : table) {
        auto random = Constant(31);
        const Outcome outcome = RunMain(row.Args, random);
        const std::string joined = ::testing::PrintToString(row.Args);
        EXPECT_EQ(outcome.ExitCode, row.ExitCode) << joined;
        EXPECT_EQ(outcome.Err,
                  "zelvaran-cli: " + row.Message + (row.ExitCode == 2 ? hint : std::string("\n")))
            << joined;
        EXPECT_EQ(outcome.Out, "") << joined;
        EXPECT_EQ(random.Calls(), 0) << joined << ": nothing is drawn for refused settings";
    }
}

TEST(CliOptions, TheRulesReachTheGenerator) {
    // Byte 0 draws the first character each rule leaves in the pool; -t with bytes that cycle
    // through the classes' first characters gets one of each at once.
    auto random = Constant(0);
    EXPECT_EQ(RunMain({"-x", "a\u00F1", "-l", "4"}, random).Out, "bbbb\n");
    EXPECT_EQ(RunMain({"-a", "-c", "n", "-l", "3"}, random).Out, "222\n");
    auto cycle = zelvaran::testing::ScriptedSource({0, 26, 52});
    EXPECT_EQ(RunMain({"-t", "-l", "3"}, cycle).Out, "aA0\n");
}

TEST(CliOptions, HelpVersionAndAFailingSource) {
    auto random = Constant(31);
    const Outcome help = RunMain({"-l", "5", "--ayuda"}, random);
    EXPECT_EQ(help.ExitCode, 0);
    EXPECT_TRUE(help.Out.starts_with("Uso: zelvaran-cli [OPCI\u00D3N]...\n")) << help.Out;
    EXPECT_NE(help.Out.find("--separador"), std::string::npos);
    EXPECT_EQ(help.Err, "");
    for (const char* english : {"--help", "--versi\u00F3n"}) {
        EXPECT_EQ(RunMain({english}, random).Out,
                  RunMain({english[2] == 'h' ? "-h" : "-V"}, random).Out)
            << english;
    }
    // Help and version answer as soon as they are read; a problem before them still counts.
    EXPECT_EQ(RunMain({"-q", "-h"}, random).ExitCode, 2);
    const Outcome version = RunMain({"-l", "5", "-V", "--nada"}, random);
    EXPECT_EQ(version.ExitCode, 0);
    EXPECT_EQ(version.Out, "zelvaran-cli 1.0.42\n");
    EXPECT_EQ(version.Err, "");

    // No result is ever made from a broken generator, in either mode.
    for (const auto& args : {std::vector<std::string>{"-n", "3"}, {"-p", "4"}}) {
        auto failing = FailingSource();
        const Outcome outcome = RunMain(args, failing);
        EXPECT_EQ(outcome.ExitCode, 1);
        EXPECT_EQ(outcome.Out, "");
        EXPECT_EQ(outcome.Err, "zelvaran-cli: no se pudieron obtener n\u00FAmeros aleatorios del "
                               "sistema; no se gener\u00F3 ning\u00FAn resultado m\u00E1s\n");
    }
}

} // namespace
} // namespace zelvaran::cli::testing
