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
    std::string Message; // the whole of standard error, without "zelvaran-cli: "
};

TEST(CliOptions, EveryRefusalHasItsExitCodeAndMessage) {
    const std::string hint = ". M\u00E1s informaci\u00F3n: zelvaran-cli --ayuda\n";
    std::string cjk; // 3000 symbols against one character of each other class
    for (char32_t c = 0x4E00; c < 0x4E00 + 3000; ++c) {
        cjk += ToUtf8(std::u16string(1, static_cast<char16_t>(c)));
    }
    const std::vector<Refused> table = {
        {{"--longuitud", "5"}, 2, "opci\u00F3n desconocida \u00AB--longuitud\u00BB" + hint},
        {{"-lx"}, 2, "-l/--longitud debe ser un n\u00FAmero de 0 a 9999, no \u00ABx\u00BB" + hint},
        {{"-q"}, 2, "opci\u00F3n desconocida \u00AB-q\u00BB" + hint},
        {{"extra"}, 2, "argumento inesperado \u00ABextra\u00BB" + hint},
        {{"a\nb\x1B[2J"}, 2, "argumento inesperado \u00ABa?b?[2J\u00BB" + hint},
        {{"--", "-l"}, 2, "argumento inesperado \u00AB-l\u00BB" + hint},
        {{"-l"}, 2, "falta el valor de -l/--longitud" + hint},
        {{"--cantidad"}, 2, "falta el valor de -n/--cantidad" + hint},
        {{"-l", "10000"},
         2,
         "-l/--longitud debe ser un n\u00FAmero de 0 a 9999, no \u00AB10000\u00BB" + hint},
        {{"-l", "+5"},
         2,
         "-l/--longitud debe ser un n\u00FAmero de 0 a 9999, no \u00AB+5\u00BB" + hint},
        {{"-l", ""},
         2,
         "-l/--longitud debe ser un n\u00FAmero de 0 a 9999, no \u00AB\u00BB" + hint},
        {{"-n", "0"},
         2,
         "-n/--cantidad debe ser un n\u00FAmero de 1 a 100000, no \u00AB0\u00BB" + hint},
        {{"-n", "100001"},
         2,
         "-n/--cantidad debe ser un n\u00FAmero de 1 a 100000, no \u00AB100001\u00BB" + hint},
        {{"-n", "99999999999999999999"},
         2,
         "-n/--cantidad debe ser un n\u00FAmero de 1 a 100000, no "
         "\u00AB99999999999999999999\u00BB" +
             hint},
        {{"-p", "65"}, 2, "-p/--frase debe ser un n\u00FAmero de 1 a 64, no \u00AB65\u00BB" + hint},
        {{"--frase= 3"},
         2,
         "-p/--frase debe ser un n\u00FAmero de 1 a 64, no \u00AB 3\u00BB" + hint},
        {{"-c", "cga"},
         2,
         "la letra \u00ABa\u00BB de -c/--clases no es un tipo de caracteres (c min\u00FAsculas, "
         "g may\u00FAsculas, n n\u00FAmeros, e s\u00EDmbolos)" +
             hint},
        {{"--entropia=1"}, 2, "la opci\u00F3n -e/--entropia no lleva valor" + hint},
        {{"-p", "4", "-f", "ACGN"},
         2,
         "-p/--frase no se combina con -f/--formato: una frase de contrase\u00F1a no tiene "
         "longitud, tipos de caracteres, s\u00EDmbolos ni formato" +
             hint},
        {{"-l", "8", "-p", "4"},
         2,
         "-p/--frase no se combina con -l/--longitud: una frase de contrase\u00F1a no tiene "
         "longitud, tipos de caracteres, s\u00EDmbolos ni formato" +
             hint},
        {{"-p4", "-c", "cgn"},
         2,
         "-p/--frase no se combina con -c/--clases: una frase de contrase\u00F1a no tiene "
         "longitud, tipos de caracteres, s\u00EDmbolos ni formato" +
             hint},
        {{"-p", "2", "-s", "x"},
         2,
         "-p/--frase no se combina con -s/--simbolos: una frase de contrase\u00F1a no tiene "
         "longitud, tipos de caracteres, s\u00EDmbolos ni formato" +
             hint},
        {{"--entrop\u00EDa=1"}, 2, "la opci\u00F3n -e/--entropia no lleva valor" + hint},
        // Options that would be ignored say what to add.
        {{"-s", "ab", "-c", "cgnC"},
         2,
         "-s/--simbolos da los s\u00EDmbolos del tipo e, que -c/--clases no incluye: "
         "a\u00F1ada e a -c o quite -s" +
             hint},
        {{"-S", "."},
         2,
         "-S/--separador solo sirve para las frases de contrase\u00F1a: a\u00F1ada -p N o "
         "quite -S" +
             hint},
        // Text that reaches the output as written keeps every result on one line.
        {{"-p", "3", "-S", "\n"},
         2,
         "-S/--separador no admite caracteres de control ni saltos de l\u00EDnea (aqu\u00ED "
         "U+000A): cada resultado va en una sola l\u00EDnea" +
             hint},
        // An empty separator needs the capitals; an invisible one shows a phrase unlike the typed.
        {{"-p", "3", "-S", ""},
         2,
         "-S/--separador vac\u00EDo solo se admite con -M/--mayusculas: sin separador, solo las "
         "may\u00FAsculas marcan d\u00F3nde empieza cada palabra; a\u00F1ada -M o escriba un "
         "separador" +
             hint},
        {{"-p", "3", "-M", "-S", "\u200B"},
         2,
         "-S/--separador no admite caracteres invisibles ni de formato (aqu\u00ED U+200B): la "
         "frase que se ve ser\u00EDa distinta de la que se escribe" +
             hint},
        {{"-c", "e", "-s", "ab\u0085"},
         2,
         "-s/--simbolos no admite caracteres de control ni saltos de l\u00EDnea (aqu\u00ED "
         "U+0085): cada resultado va en una sola l\u00EDnea" +
             hint},
        {{"-f", "NN\u2028N"},
         2,
         "-f/--formato no admite caracteres de control ni saltos de l\u00EDnea (aqu\u00ED "
         "U+2028): cada resultado va en una sola l\u00EDnea" +
             hint},
        {{"-f", std::string(10000, 'N')},
         2,
         "la plantilla de -f/--formato tiene m\u00E1s de 9999 caracteres: ac\u00F3rtela o "
         "indique la longitud con -l" +
             hint},
        {{"-M"},
         2,
         "-M/--mayusculas solo sirve para las frases de contrase\u00F1a: a\u00F1ada -p N o "
         "quite -M" +
             hint},
        {{"-l", "5", "--cifra"},
         2,
         "-d/--cifra solo sirve para las frases de contrase\u00F1a: a\u00F1ada -p N o quite -d" +
             hint},
        {{"-p", "3", "--lista="},
         2,
         "falta el nombre del archivo de -w/--lista (- para la entrada est\u00E1ndar)" + hint},
        // The generator's refusals: exit 1, the option to change named.
        {{"-c", "e", "-s", ""},
         1,
         "-c/--clases incluye e (s\u00EDmbolos), pero -s/--simbolos est\u00E1 vac\u00EDo: escriba "
         "s\u00EDmbolos en -s o quite la e de -c\n"},
        {{"-c", ""},
         1,
         "-c/--clases no elige ning\u00FAn tipo de caracteres: indique al menos uno (c "
         "min\u00FAsculas, g may\u00FAsculas, n n\u00FAmeros, e s\u00EDmbolos)\n"},
        {{"-f", ""},
         1,
         "la plantilla de -f/--formato est\u00E1 vac\u00EDa: escriba un formato (por ejemplo "
         "ACGNE) o quite -f\n"},
        // Empty template and empty symbols: the symbols are checked first, as in the window.
        {{"-f", "", "-c", "e", "-s", ""},
         1,
         "-c/--clases incluye e (s\u00EDmbolos), pero -s/--simbolos est\u00E1 vac\u00EDo: escriba "
         "s\u00EDmbolos en -s o quite la e de -c\n"},
        {{"-f", "ACGNE"},
         1,
         "la plantilla de -f/--formato pide E (s\u00EDmbolos), que -c/--clases no incluye: "
         "a\u00F1ada e a -c o cambie la plantilla\n"},
        {{"-f", "xxc", "-c", "n", "-l", "0"},
         1,
         "la plantilla de -f/--formato pide C (min\u00FAsculas), que -c/--clases no incluye: "
         "a\u00F1ada c a -c o cambie la plantilla\n"},
        {{"-f", "NNNg", "-c", "Cn", "-l", "2"},
         1,
         "la plantilla de -f/--formato pide G (may\u00FAsculas), que -c/--clases no incluye: "
         "a\u00F1ada g a -c o cambie la plantilla\n"},
        // The rules: -t, -a and -x.
        {{"-t", "-f", "CN"},
         2,
         "-t/--todas no se combina con -f/--formato: la plantilla ya fija el tipo de cada "
         "posici\u00F3n" +
             hint},
        {{"-p", "3", "--excluir=a"},
         2,
         "-p/--frase no se combina con -x/--excluir: una frase de contrase\u00F1a no tiene "
         "longitud, tipos de caracteres, s\u00EDmbolos ni formato" +
             hint},
        {{"--todas=1"}, 2, "la opci\u00F3n -t/--todas no lleva valor" + hint},
        {{"-x"}, 2, "falta el valor de -x/--excluir" + hint},
        {{"-tl", "3", "-c", "cgne"},
         1,
         "-t/--todas pide un car\u00E1cter de cada uno de los 4 tipos de caracteres de "
         "-c/--clases, "
         "m\u00E1s de lo que da -l/--longitud: d\u00E9 a -l 4 o m\u00E1s, o quite -t\n"},
        {{"-c", "gn", "-x", "0123456789"},
         1,
         "-x/--excluir deja sin caracteres el tipo n (n\u00FAmeros): excluya menos caracteres "
         "con -x o quite la n de -c/--clases\n"},
        {{"-t", "-l", "4", "-c", "cgne", "-s", cjk, "-x",
          "bcdefghijklmnopqrstuvwxyzBCDEFGHIJKLMNOPQRSTUVWXYZ013456789"},
         1,
         "-t/--todas: casi ninguna contrase\u00F1a de esta longitud lleva un car\u00E1cter de "
         "cada tipo de -c/--clases, y buscarla llevar\u00EDa demasiado tiempo: aumente -l, "
         "acorte -s o quite -t\n"},
        {{"--sin-parecidos", "-c", "ce", "-s", "|\u00A6"},
         1,
         "-a/--sin-parecidos deja sin caracteres el tipo e (s\u00EDmbolos): son todos "
         "parecidos (0 O o 1 l I | \u00A6); escriba otros en -s, quite -a o quite la e de "
         "-c/--clases\n"},
    };
    for (const Refused& row : table) {
        auto random = Constant(31);
        const Outcome outcome = RunMain(row.Args, random);
        const std::string joined = ::testing::PrintToString(row.Args);
        EXPECT_EQ(outcome.ExitCode, row.ExitCode) << joined;
        EXPECT_EQ(outcome.Err, "zelvaran-cli: " + row.Message) << joined;
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
