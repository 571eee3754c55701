/* The least any one-byte-a-character generator can do: read 9999 bytes with getrandom, map each
   to a printable character (biased, which is no concern for a floor), write them with a newline,
   exit. compare.sh sets zelvaran-cli -c cgne -l 9999 against it. */
#include <stdio.h>
#include <sys/random.h>
#include <unistd.h>

int main(void) {
    static unsigned char text[9999 + 1];
    size_t filled = 0;
    while (filled < 9999) {
        const ssize_t got = getrandom(text + filled, 9999 - filled, 0);
        if (got < 0) {
            return 1;
        }
        filled += (size_t)got;
    }
    for (size_t i = 0; i < 9999; ++i) {
        text[i] = (unsigned char)('!' + text[i] % 94);
    }
    text[9999] = '\n';
    return write(1, text, sizeof text) == (ssize_t)sizeof text ? 0 : 1;
}
