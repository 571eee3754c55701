#!/usr/bin/env python3
"""Derives the Spanish passphrase word list (palabras.txt) from the frequency-ranked list of
common words in the npm package @zxcvbn-ts/language-es-es (see SOURCE.md for the source and its
licence). Standard library only; needs no network: fetch the package once with

    npm pack @zxcvbn-ts/language-es-es@4.1.2

and run

    python3 generator/wordlist/make_wordlist.py zxcvbn-ts-language-es-es-4.1.2.tgz > generator/wordlist/palabras.txt

The build uses the committed palabras.txt, never this script.

Rules, applied in frequency order until WORDS words are kept:
  - accents and the diaeresis are removed (a word is the same word without them); a word with an
    n-tilde is left out rather than misspelt (ano is not año), so every word is plain a-z;
  - 3 to 9 letters; a word that differs from a kept one only by an accent is the kept one;
  - no proper names: the package's own first names, its surnames that have no plural, words that break Spanish
    spelling (the usual sign of a foreign name in film subtitles), and words with no inflected
    relative anywhere in the list (names have no plural, gender or verb forms);
  - no offensive words (DENIED below).
"""
import json
import sys
import tarfile
import unicodedata

WORDS = 7776  # 6^5: five dice per word, about 12.9 bits

# Obscenities, slurs, insults and words a generated phrase had better not pair up. Matched as
# prefixes of the accent-free word, so inflected forms go too.
DENIED_PREFIXES = (
    "put", "mierd", "jod", "cabron", "pendej", "maric", "mariq", "coñ", "follar", "follad",
    "polla", "verga", "ching", "culo", "culit", "tetas", "teta", "pene", "vagin", "zorr",
    "perra", "puñet", "gilipoll", "imbecil", "idiot", "estupid", "subnormal",
    "retrasad", "mongol", "bastard", "cojon", "carajo", "orgasm", "sexo", "sexual", "sexy",
    "porno", "violad", "violac", "violar", "nazi", "negrat", "sudaca", "gitan",
    "chupa", "mamad", "cornud", "prostitu", "ramera", "furcia", "buscon", "drog", "cocain",
    "heroin", "suicid", "asesin", "matar", "mata", "muert", "morir", "cadaver", "tortur",
    "violen", "pedof", "incest", "nalga", "trasero", "pechos", "desnud", "excitad", "caliente",
    "pajer", "pajil", "hijoputa", "cerdo", "cerda", "gordo", "gorda", "tonto",
    "tonta", "bobo", "boba", "cretino", "cretina", "infiel", "cag",
    "mear", "meado", "pedo", "vomit", "bitch", "fuck", "shit", "coger", "cogid", "chulo",
    "bollera", "tortillera", "marimacho", "travelo", "negro", "negra", "judio", "judia",
)
# Exact words: too short or too common a prefix to match by start.
DENIED_WORDS = {
    "ano", "ojete", "pija", "pijo", "rabo", "huevos", "nabo", "cipote", "chocho", "concha",
    "cono", "puto", "puta", "mamon", "mamona", "pito", "chota", "guarra", "guarro", "bollo",
    "picha", "leche", "pollon", "polvo", "pezon", "pezones", "cachondo", "cachonda", "lamer",
    "chupar", "orinar", "orina", "meo", "culo", "bala", "balas", "arma", "armas", "bomba",
    "bombas", "feo", "fea", "feos", "feas", "loco", "loca", "locos", "locas", "moro", "moros",
    "nazis", "hitler", "ok", "okey", "okay", "anal", "hostia", "hostias", "burdel",
    "bragas", "tarado", "tarada", "capullo", "capullos", "lesbiana", "lesbianas", "orgia", "senos",
    "pis", "pipi", "erotico", "erotica", "gay", "condon", "condones", "porro", "popo", "sida", "violo", "sexi", "puerco", "puerca", "calzones",
}
# Names and foreign words that pass the spelling and relative checks (found by reading the list).
NAMES = set("""
abu ace ada cao collins connor evans gene meyer simpson mari maya han marine vegas sos pro val adriana dane gabi grimes marcello mariana merci qua sabine some teri tori valentina palestina tao pos adele air alexandra amanda amber amelia ana anders angus
anna anne are ari ava bai babe bear belle berta bla blue
blues bones boy buster camila camille carla carolina caroline center ceo cha
chance chances chi cho choi christina christine chu clare claudia cora cosmo
curtis dal dana data date dave day dea des diane dina dino
donna dora dre eli elisa elise elle elsa email eva eve fei
fine fio francesca gabrielle gale garden gates georgia georgie gina gino gloria
goa grove gus gyu had hades hai hans hayes helena heller her
here hilda hindu hiro his home homer homero hua hui hye hyo
ias ios irene isabella isabelle jacobs jai javi jeans jedi jen jenna
joanna joanne juana judas jude julie june lane lars lei levi lili
lina linus lisa lola lori lorna lulu lyon mai mara marcia marcus
marge margo marie marla mars mason masters matilda may mei milo mimi
moscu mrs nadia natalia natalie nate never olivia one operandi pandora patricia
pauline pete piper pope rhodes rita river rivers roberta rogers rose ryu
sandra side silas silver silvia sir siria sofia sue suite tai tanner
tate texas time times titan venus viena vinci vito voyager yeo yes
yoda yuan zero
""".split())

VOWELS = set("aeiou")
# Letters and groups that Spanish spelling does not use but English and other names do.
FOREIGN = ("k", "w", "th", "ph", "gh", "sh", "ck", "tz", "ee", "oo", "ou", "ae", "oe", "yn", "ys")
# Consonant letters a Spanish word may end in (y only after a vowel).
FINAL_CONSONANTS = set("dlnrsxzjy")


def strip_marks(word):
    """The word without accents and diaeresis, keeping the n-tilde."""
    out = []
    for ch in word:
        if ch == "ñ":
            out.append(ch)
            continue
        base = unicodedata.normalize("NFD", ch)
        out.append("".join(c for c in base if unicodedata.category(c) != "Mn"))
    return "".join(out)


def spanish_spelling(w):
    if any(group in w for group in FOREIGN):
        return False
    if w[0] == "s" and w[1] not in VOWELS:  # Spanish writes es- before s + consonant
        return False
    if w[-1] not in VOWELS and w[-1] not in FINAL_CONSONANTS:
        return False
    if w[-1] == "y" and w[-2] not in VOWELS:
        return False
    if w[-1] not in VOWELS and w[-2] not in VOWELS and not w.endswith(("ns", "rs", "bs", "ps")):
        return False
    for i in range(len(w) - 1):
        a, b = w[i], w[i + 1]
        if a == b and a not in "lrcneo":  # only ll, rr, cc, nn, ee, oo double up
            return False
        if a == "q" and b != "u":
            return False
        if a == "y" and b not in VOWELS and i > 0 and w[i - 1] not in VOWELS:
            return False
    if "y" in w[1:-1] and w[w.index("y", 1) + 1] not in VOWELS:
        return False
    return True


def relatives(w):
    """Forms a real Spanish word of this shape usually has somewhere in a 40000-word list."""
    forms = {w + "s", w + "es", w + "mente", w + "r"}
    if w[-1] in VOWELS:
        stem = w[:-1]
        forms |= {stem + v for v in "aeo" if stem + v != w}
        forms |= {stem + "as", stem + "os", stem + "ar", stem + "er", stem + "ir", stem + "ado",
                  stem + "ada", stem + "ando", stem + "iendo", stem + "ita", stem + "ito"}
    if w.endswith("s"):
        forms |= {w[:-1], w[:-2]}
    if w.endswith(("ar", "er", "ir")):
        stem = w[:-2]
        forms |= {stem + e for e in ("o", "a", "e", "as", "es", "an", "en", "ado", "ido", "ando",
                                     "iendo", "amos", "emos", "imos")}
    if w.endswith(("ado", "ido", "ada", "ida")):
        stem = w[:-3]
        forms |= {stem + e for e in ("ar", "er", "ir")}
    for ending in ("ción", "cion", "dad", "mente", "dor", "dora", "ista", "ero", "era"):
        if w.endswith(ending):
            forms.add(w[: -len(ending)] + "ar")
            forms.add(w[: -len(ending)] + "o")
            forms.add(w[: -len(ending)] + "a")
    forms.discard(w)
    return forms


def load(package):
    with tarfile.open(package) as tar:
        def read(name):
            return json.load(tar.extractfile("package/src/" + name + ".json"))
        return read("commonWords"), read("firstnames"), read("lastnames")


def main():
    common, first, last = load(sys.argv[1])
    stripped_all = {strip_marks(w.lower()) for w in common}
    # Every first name goes; a surname only when it has no plural, since many Spanish surnames
    # are everyday words as well (casa, torres, blanco, rey).
    names = {strip_marks(n) for n in first}
    for n in map(strip_marks, last):
        plural = {n + "s", n + "es"} | ({n[:-1]} if n.endswith("s") else set())
        if not plural & stripped_all:
            names.add(n)
    kept, seen = [], set()
    for raw in common:
        w = strip_marks(raw.lower())
        if w in seen:
            continue
        seen.add(w)
        if not (3 <= len(w) <= 9) or not all("a" <= c <= "z" for c in w):
            continue  # also drops the n-tilde, digits and apostrophes
        if w in names or w in NAMES or w in DENIED_WORDS or w.startswith(DENIED_PREFIXES):
            continue
        if not spanish_spelling(w):
            continue
        if not (relatives(w) & stripped_all):
            continue
        kept.append(w)
        if len(kept) == WORDS:
            break
    if len(kept) < WORDS:
        sys.exit(f"only {len(kept)} words pass the rules")
    sys.stdout.write("\n".join(sorted(kept)) + "\n")


if __name__ == "__main__":
    main()
