// Every value the program keeps per user, under
// HKEY_CURRENT_USER\Software\VB and VBA Program Settings\Zelvaran\Settings: the one list the help
// ("Donde guarda el programa sus opciones"), the README and LEEME.txt copy. A check compares its
// keys with those the sources store and the pages with its rows, so a value added to the program
// without its row here, or left out of a page, fails the tests.
#pragma once

#include <string_view>

namespace zelvaran::config {

struct StoredValue {
    std::string_view Key;
    std::string_view Choice;  // the caption that sets it, as the window shows it
    std::string_view Where;   // where that caption is
    std::string_view Content; // what the value holds
};

// UTF-8 text.
inline constexpr StoredValue kStoredValues[] = {
    {"Inicio", "Iniciar con Windows", "cuadro de di\u00E1logo Configuracion",
     "1 marcada, 0 desmarcada"},
    {"ChTop", "Siempre al Frente", "cuadro de di\u00E1logo Configuracion",
     "1 marcada, 0 desmarcada"},
    {"AlMenosUno", "Al menos uno de cada tipo", "men\u00FA de la ventana",
     "1 marcada, 0 desmarcada"},
    {"SinParecidos", "Sin caracteres parecidos", "men\u00FA de la ventana",
     "1 marcada, 0 desmarcada"},
    {"FrasePalabras", "Palabras", "ventana Frase de Contrase\u00F1a", "de 1 a 64"},
    {"FraseSeparador", "Separador", "ventana Frase de Contrase\u00F1a",
     "hasta 8 caracteres, ninguno de control ni invisible"},
    {"FraseMayusculas", "May\u00FAscula inicial", "ventana Frase de Contrase\u00F1a",
     "1 marcada, 0 desmarcada"},
    {"FraseCifra", "A\u00F1adir una cifra", "ventana Frase de Contrase\u00F1a",
     "1 marcada, 0 desmarcada"},
    {"AvisoBandeja", "aviso del \u00E1rea de notificaci\u00F3n",
     "al minimizar la ventana por primera vez", "1 ya mostrado; otro valor, no mostrado"},
    {"VaciarPortapapeles", "Vaciar el portapapeles", "men\u00FA de la ventana",
     "0 nunca; 10, 30, 60 o 300 segundos"},
};

} // namespace zelvaran::config
