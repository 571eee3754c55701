#!/usr/bin/env python3
"""Derives the Spanish passphrase word list (palabras.txt): common Spanish words, each a
dictionary form spelt right without accent or n-tilde, with no accented twin. See SOURCE.md for
the sources and their licences. Standard library only, plus the `hunspell` command with Debian's
Spanish dictionary (packages hunspell and hunspell-es). Needs no network: fetch the word
frequencies once with

    npm pack @zxcvbn-ts/language-es-es@4.1.2

and run

    python3 generator/wordlist/make_wordlist.py zxcvbn-ts-language-es-es-4.1.2.tgz \\
        > generator/wordlist/palabras.txt

The build uses the committed palabras.txt, never this script. Both inputs are checked by their
SHA-256, so the same inputs give the same list byte for byte. `--report` writes to standard error
what each rule and each group of hand exclusions removed; `--ranked` writes the candidates in
rank order, one a line, instead of the list (for reading).

Rules, in the order of the subtitle list alone (film and television: words people say), until
WORDS words are kept:
  - a-z only, 3 to 9 letters;
  - a dictionary form: a lowercase entry of es_ES.dic, or a word its derivation rules make from
    one (bolsillo, equipaje, saludable). Left out: entries the plural and gender rules (S, G)
    make from another entry, feminines of adjectives the dictionary does not list as nouns of
    their own (no S or N flag), diminutives it only makes with its -ito rule (U), and
    infinitives with a pronoun attached;
  - spelt right as written for hunspell, with no accented twin: no form with an accent on a
    vowel, n-tilde for n or diaeresis on u at one or two places that hunspell accepts and a
    reader could have in mind, that is a headword of its own or a form of a word in either
    frequency list (so "papa", "esta", "solo", "sonar", "canon" and "trabajo" go, while "amigo"
    stays: its twin is a form of the verb amigar, which nobody uses);
  - one entry a word (one_entry_a_word, o_a_twin): no word the dictionary derives from, or
    derives into, a word left out by hand for being vulgar, an insult, violent, grim, hateful or
    religious (the whole family goes); no feminine beside its masculine (profesora, jefa,
    nueva, and no feminine participle: llamada beside llamado); no diminutive beside its base
    (hijito, poquito); no shortened form beside the full word (buen, gran); one spelling, the
    one the RAE prefers (cinc, not zinc); and of two words a final o or a apart, the more
    common;
  - not one of the hand exclusions (EXCLUDED below), found by reading every candidate.
"""
import hashlib
import itertools
import json
import re
import subprocess
import sys
import tarfile

WORDS = 4096  # 2^12: 12 bits a word, and every draw is an even split of the random bytes

PACKAGE_SHA256 = "5f98d17dde175d3d39bf9404d1d4b27a0b7b13a527f68a627dd78ce7409795b4"
DICTIONARY = "/usr/share/hunspell/es_ES"
# Debian's hunspell-es 1:7.5.0-1 (Debian 12).
DICTIONARY_SHA256 = {
    ".dic": "7a32942f6936329ea0bc311a6288d193a29cb05b3dd79a2e6115a335f7197f5e",
    ".aff": "459fcfa76382eb2333a3c2833053b3c37bb92345add3f8ad61e94e4413402c40",
}

# The marks a plain letter can take in Spanish spelling.
MARKED = {"a": "á", "e": "é", "i": "í", "o": "ó", "u": "úü", "n": "ñ"}
CLITICS = ("me", "te", "se", "nos", "os", "lo", "la", "le", "los", "las", "les")
VERB_FLAGS = set("REDXI")
# The dictionary's suffix flags: plural and gender, and the derivations that make a word of its
# own (-ción, -dura, -aje, -ncia, -azo, -bilidad, -idad, -ería, -ez, -ismo, -illo, -ión,
# -miento, -ble); the -ito diminutive (U) and the conjugations are neither.
INFLECTIONS = set("SG")
DERIVATIONS = set("ABCFHJKLMNOPQT")
DIMINUTIVE = "U"
AFFIXES = INFLECTIONS | DERIVATIONS | {DIMINUTIVE}

# Nouns of their own that the dictionary only makes as the feminine of a listed masculine
# (vida of vid, bebida of bebido), so the feminine rule below would take them for adjectives.
NOUNS_OF_THEIR_OWN = {"bebida", "directiva", "emisora", "primaria", "propuesta", "retirada", "vida"}

# Words removed by hand after reading the list, by reason. A family goes as a whole: every
# member the frequency lists could bring in is listed, in every region's sense.
EXCLUDED = {
    "verb forms listed as entries: conjugations, gerunds, imperatives with pronouns": """
        duela
        abra empiece
        acaecido acontece amanezca andaba andaban andabas andado andamos andan andando andate ande
        ando anduve anduvo antoja antoje arda beses brota campa cases ceda comporta comprueba
        concierne concuerda corra cuelga cuelgue daba daban dabas dad dadme dais dale dales dalo
        dame damos dan dando daos daremos das decidle decidme decime deis dele deme den denle
        denles denme dennos denos dense dese diera dieran dieras dieron diese dije dile diles dilo
        dime dimos dio diremos diste disteis doy ensancha erais eran estaba estabais estaban
        estabas estad estamos estando estaremos estemos estoy estuve estuviera estuviese estuvimos
        estuviste estuvo fue fuerais fueran fueras fuere fueron fuese fuesen fueses fui fuimos
        fuiste fuisteis gobierna habido habiendo habremos haced hacedlo han has hay haya hayamos
        hayan haz hazla hazle hazles hazlo hazlos hazme haznos hazte hemos hice hizo hubiera
        hubierais hubieran hubieras hubieron hubiese hubiesen hubieses hubo huela huele huelen
        hueles huelo iba ibais iban ibas ido iremos juega juegan juegas juegue jueguen juegues
        jugaba jugaban jugabas jugamos jugando jugaron jugaste juguemos lega leo mentido miente
        niego nubla parta pasma pienso pierde podamos podemos podido podremos pon pude pudiendo
        pudiera pudierais pudieran pudieras pudieron pudiese pudiesen pudieses pudimos pudiste pudo
        pueda puedan puedas puede pueden puedes puedo quepa rapa remite resuelve rinde salga sea
        seamos sean seas seremos sido siendo sois solemos son soy suba suele suelen sueles sufra
        ten tercia tiemblo topa torna vais vamos van vas vaya vayamos vayan veer veis ven vendo
        vete vio volando voy yendo zumba
    """,
    "plurals, contractions, feminines read as the adjective's": """
        abierta abolida abolidos absoluta acabada acaecida acaecidos acalorada acorazada acostada
        adjunta ajustada alisios amateurs ambas amerindia ancha araucana arbustiva armoniosa
        arreglada aumentada basada bastarda becerra blanda bordada boscosa brava brusca bruta buena
        bulbosa caduca callada canina cantada cargada celosa cerrada clubs comicios comillas
        consumida contenta coronada cortesana creados cuclillas degradada del delictiva densa
        diablillo dilatada dioica dioses dirigida disparada doblada dormida echada empapada enojada
        entregada erguida errada escogida escrita estancada estirada excelsa exigua expansiva
        expensas falsa fina forzosa frita gais gases gaya grata guerrera gules habida hablada
        hallada hecha hirsuta hueca juzgada labrada lanzada las laxa les levantada ligada liviana
        llevada loba lores los mala malaya marchita mocha mojada montada necesaria negra nosotras
        nosotros nupcias obispillo oclusiva ocupada ofensiva parda patitas pecuaria pelada
        perforada peruviana pesada pilosa pirenaica poblada poblana polaca postiza preciosa profusa
        punitiva quemada rara rayada rea regenta regresiva relajada rica robada rotunda rugosa
        salada secreta seguida sembrada sendos sexys solariega solitaria sucesoria suculenta
        suprema sus tallada tapada termas tipa tocada tomada tomentosa tours tratada turbia tus
        tuya vencida vertidos vidriada vosotras vosotros votada zapoteca
    """,
    "names of people, places, religions and brands": """
        valencia
        abisinia afrodita alana alcarria alfaguara alfonsina ali aliaga alicante allende almohade
        alonso altea alzheimer amador anastasia anatolia andes angelina angulema antonino apolinar
        apolo arcadio arganda argel argos aries aron artemisa atacama atocha atta augusto azcona
        babel babilonia balboa balta barral barreda basilio bastilla bautista becerril bejarano
        bellido ben benito beocia berlanga bernardo biblia bierzo bitinia borneo botsuana brabante
        branca brasil bren bruno buda calahorra calatrava caldea caledonia callao camilo campeche
        campillo cananea candamo capadocia caracalla cardona carla carmel carmen carniola carola
        carolina carranza carrasco carrillo carvajal carvallo casanova casariego casimir caspio
        castellar castilla castro catalina cea celestina celestino celia cepeda chamorro chiana
        chile china cid cinca circe cirenaica claudia clemente codina congo corea corinto cornejo
        creta cristina cristo cuba cui curazao curie cuzco dacia damasco dante delia diego dino dix
        doria druso duarte duma elche enciso enrique eritrea escobar escocia escorial espartero
        estrada eta etolia eubea facundo fajardo federico felipe fer ferrero fito fontana fraga
        francisca francisco franklin frey frisia fusco gaetano galileo gamarra gamboa gante garrido
        gaza gil gilbert gomera goya graciano grao greco guaira guajira guayas guido guinea habana
        hanzo hao helena henry herodes herrera holanda hortense iberia iliria indio indochina
        infantado inga irigoyen irlanda isa isabela islam jalapa jamaica jan jane jato java jonia
        jorge josefina juan juana juba judas julia juliano juvenal kelvin laconia lada landa larra
        leda leila len licia liria livonia llosa lota luca lucifer lugano luisa macarena magdalena
        malasia mallorca mancera manila manolo manuela mara marcio mariano marta marte martina
        matamoros mateo mauro maxwell meca medina melgar melina merlo micha milano milena minerva
        mingo mir miranda mirza moche monterrey montilla mor morava morillo muir mur nacho namibia
        nance negrete newton nicaragua nito nobel noguera nubia octaviano olmedo omeya orense oribe
        ortega osuna otero oto pacha pacho padilla palentina pamela pancho panonia paraguay pascal
        pascua pascual patricio pedro pepa pepe pereda peri petar petra pilates pineda pinocho
        pirineo piscis pol pola polinesia pomar porcel pozuelo priego prisco puebla puga quesada
        quintana quique rafa rafal rebolledo recoleta rene riestra rioja rivera robledo romeo
        romina roque ros ruan rufo rusia sabino sagitario salamanca salcedo sama samaria samuel san
        sancho sandino sansa santiago sao sarria sato saturnino saturno sega sel serna serpa servio
        sil silesia silva silvano siro soconusco sor soto sula susana tabasco tabor tarragona tauro
        tena tenorio teresa tesalia tesla tiberio tirreno tirso tito tobar tola tonga tormo trajano
        troy tui tulio ucrania uta utrera valar valentino vasa vaticano velilla venus virginia
        virgo vitoria vivar volvo weber yale yana york zambia zapata zorita zurita
    """,
    "foreign words": """
        beige chalet
        show whisky pizza miss grey hall suite flash hockey ballet boom blues punk ninja jazz hobby camping friki chat barman versus
        birra box wifi
        abertzale amateur ami anglo apartheid art bey boutique brandy bungalow camera car casting
        catering cella cha chic cho chop copyright corps crack cricket cross curry dance der
        display dossier dux edit elle entente estate eternal facto far ferry festa fuel galega gay
        glamour glas grand grant gray green guitar haute her hertz hippie holding home hove jacuzzi
        juniors kan kas ketchup lady lay light lord lux man marketing mellitus milord mouse muslim
        nen nin opus pat pipe primus priori purana qui raid rain rob roses rouge scooter sen senior
        sexis sexy sheriff sic software sport stand swing taekwondo tao tate tell top topless tour
        trial ufo vendetta voila watt webs whiskys yang yes yin
    """,
    "abbreviations, acronyms and clippings": """
        abc aes anti aprox austro avda bel bes bici cao cap cari cas ces cfr cit crono dela delos
        demo depto dir dom electro ero etc evo fas fig foto fra fray gob gral gta hab imp indo ing
        kilo led lic ltda macro mega micro mili moto nasa neo nis nro ovni pal pbro pelis pes polis
        pos prof profe pts quimio reg rep rev rus saxo sig sincro soc sos srta sto sud suso tas tel
        tele ter ura val vol yuso zoo
    """,
    "interjections and onomatopoeia": """
        ale aleluya apa arre bah bla bum caramba caray chacho che chist daca din ejem epa guau hala
        hola hum hurra huy miau miz puf pum tac tictac upa zas zum
    """,
    "vulgar, sexual or about drugs, in any region": """
        bazo renal intestino mujeriego nicotina perrera fumador
        calentito felpudo
        bebedor placenta excusado chucho ingle forrado fetal
        trasero pecho amante macho bola fumar ebrio adicto hembra oral retrete saliva baba seducir seductor pubertad escote busto moco escupir orificio parir chorrada vello hedor mugre tripa vejiga semental salido ovario orto
        abortar adulterio almeja anal bicho bollo braga bragueta burdel caca cachondo cagar
        caliente capullo carajo carnal castidad castrado chingada chocho chota chulo chupada
        chupado chupar coca coger cogido coito coja cojo cojonudo colegiala colocado concha
        concubina conejillo conejito conejo corrida cuero culo defecar desnudez desnudo diarrea
        drogar enema erecto erotismo eructar escroto esperma eunuco excitante fecal fetiche feto
        follar fornicar fumado furcia genital golfa gonorrea guarra guarro hostia huevo incesto
        joder lameculos lamer leche lesbiana letrina libido lujuria madama mamar marihuana meado
        mear menstrual merca mierda morboso mota nabo nalga obsceno ojete opio orgasmo orinal
        orinar ostia paja pajar papaya pedo pedofilia peer pene penetrar perra pichi pijo pis pito
        polla polvo porno porro proxeneta pubis pus puta putada puto rabo ramera semen seno sensual
        sexo sexual sujetador tanga teta urinario vagina vaginal verga vibrador viril virilidad
        vomitar
    """,
    "insults and slurs": """
        zorro
        bocaza machista
        locura renegado compinche deforme gamberro
        gusano perdedor bobo farsante granuja asno embustero malcriado cabezota mestizo lacayo zurdo loquero longo colla gago
        forro hueco
        afeminado alcahuete apestoso ario asqueroso autista baboso bastardo bobada boludo borracho
        burra canalla cerda chiflado chola cholo chorizo chusma cobarde cochina cochino cornudo
        cretino demente depravado desalmado escoria estupidez fascismo fascista feo gentuza gitano
        gorda gordo gringo idiota idiotez ignorante inepto jorobado lerdo loca maldito malnacido
        manicomio mantenida marica mariquita maruja memo mentiroso miserable mocoso mojado mojigata
        mongol moro mulato nazi nazismo necio negrito obeso paleto pelele pelotudo pendejo perverso
        prieto puerco racista rastrero retardado retrasado sabandija tontear tontito tonto traidor
        tramposo yanqui zoquete zorra
    """,
    "violence, weapons and crime": """
        coraza
        lastimada
        abusivo desertar cabecilla acorazado casquillo minado
        cuchillo batalla robar robado fraude detenido acusado navaja armadura hacha calibre redada chantaje estafador espionaje bandido calabozo intruso atacante atroz corrupto patear destrozar crueldad cruel fugitivo arrestar granada antibalas sabotaje sabotear sobornar sable machete mortero desertor recluso perjurio hurto traficar estafar timo encubrir delatar derrocar chivato vengador humillar secuaz
        abofetear abusado abusador abusar acosador acosar agredido agredir agresor amenazar
        aniquilar armada armado armamento armar armero arsenal artillero asaltante asaltar asesinar
        asesinato atacar atentado atracador atrocidad azotado azotar bala balazo balear ballesta
        bayoneta bofetada bomba brutal cabezazo carabina cartucho catapulta codazo combate combatir
        convicto crimen criminal culata daga decapitar degollado destripar detonador detonar
        dinamita disparado disparar emboscada envenenar escopeta espoleta explosivo forajido fusil
        fusilar garrote gatillo genocidio golpe golpear golpista guerra guerrero guerrilla herido
        herir homicida homicidio incendiar intimidar lastimado lastimar mafia mafioso maltrato
        masacrar matadero matado matador matanza matar metralla milicia misil molotov mosquete
        mutilado noquear ojiva paliza patada peleador pelear pillaje pistola pistolero posguerra
        proyectil raptar raptor rifle saquear sicario tiroteo torpedero torpedo torturar trinchera
        venganza vengar verdugo violado violador violar violencia violento
    """,
    "strong negative feelings": """
        avaro enemistad
        inmundo calumnia apestar ruin
        odioso repulsivo pesadilla horrible asco horror terror aterrador rabia odiar rencor maldad
        codicia espantoso maligno infame envidia miseria angustia avaricia codicioso mezquino
        horroroso horrendo temible tenebroso malicia rabioso amargura amargado maldecir vicioso
        grotesco vengativo
    """,
    "religion, the supernatural and ideologies": """
        abad
        hereje ortodoxo crucifijo bendecir piadoso nirvana sinagoga divinidad evangelio credo prior
        diablo dios infierno demonio pecado pecador iglesia sacerdote virgen santo sagrado rezar
        templo ritual diosa misa reverendo cristiano divino altar monja monje religioso santuario
        secta culto convento obispo profeta capilla rabino celestial infernal bendito santidad
        karma creyente parroquia catedral comunista comunismo liberal hechicero brujo ofrenda
        mezquita orar resucitar devoto plegaria limosna trinidad budista bautismo incienso deidad
        rosario aquelarre limbo blasfemia arzobispo misionero pagano predicar doctrina vicario
        ateo peregrino invocar racismo racial feminista sexista dictador dictadura tirano zen lama
        marxismo peronista
    """,
    "demonyms below country level": """
        romana
        romano caribe navarro maya alcoyano conquense tucumano pampeano
    """,
    "eponyms": """
        burdeos dalia
        morse quijote cupido fausto rebeca bermudas
    """,
    "words that live only in a set phrase": """
        cabelludo chorlito
        pacotilla
        obstante antemano doquier bledo conque
    """,
    "feminines the rules miss (the masculine is listed, or is out)": """
        gata capitana baronesa jueza
    """,
    "diminutives whose base the list lacks": """
        despacito
        trabajito angelito bajito chiquilla chiquillo
    """,
    "rare or technical": """
        dina drago
        vero simbionte
        rafe bao momo non
    """,
    "death, disease and other grim words": """
        enfermar pulmonar
        fobia yugular infectar autismo
        forense ciego virus sordo fractura diabetes asma amnesia paranoia paranoico enano anormal podrido momia trastorno esqueleto jeringa insulina insomnio delirio delirante histeria toxina artritis hematoma psicosis hernia anemia senil ceguera impedido sanatorio cegado aorta craneal cojera enfermizo
        ahogado ahogar ahorcado ahorcar amputar aneurisma anorexia asfixia autopsia biopsia cadalso
        calavera carcinoma cenotafio cianuro cirrosis condenado condenar cripta deceso demencia
        dengue difunto distrofia duelo edema embolia enterrar entierro enviudar epidemia epilepsia
        epitafio esclava esclavo eutanasia exequias exorcismo exorcista fallecer fallecido fosa
        funeral funeraria funerario gangrena hambruna hepatitis horca infarto lepra leproso letal
        leucemia linfoma lupus luto macabro malaria martirio mausoleo morfina morgue moribundo
        morir mortal mortandad muera muerte muerto necrosis obituario paludismo pandemia parca
        peste polio pudrir sangrar satanismo sepulcral sepulcro sepultura sida sudario suicidar
        suicidio tifus tormento trombosis tumor tumoral velatorio velorio veneno venenoso viruela
        viudo
    """,
}


# The hand groups whose words take their whole family with them: a word the dictionary derives
# from one of them, or derives one of them from, or takes for one of their forms, goes too.
FAMILY_GROUPS = (
    "vulgar, sexual or about drugs, in any region",
    "insults and slurs",
    "violence, weapons and crime",
    "death, disease and other grim words",
    "strong negative feelings",
    "religion, the supernatural and ideologies",
)


def diminutive_base(w, present):
    """The word a diminutive in -ito, -cito, -ecito (or -ita...) is made from, if the list has
    it: hijito of hijo, poquito of poco, lucecita of luz, cafecito of cafe."""
    for end in ("ecito", "ecita", "cito", "cita", "ito", "ita"):
        if not w.endswith(end):
            continue
        stem = w[: -len(end)]
        stems = {stem}
        if stem.endswith("qu"):
            stems.add(stem[:-2] + "c")
        if stem.endswith("gu"):
            stems.add(stem[:-1])
        if end.endswith(("cito", "cita")):
            stems.add(stem + "z" if end.startswith("e") else stem)
        for base in sorted({b + v for b in stems for v in ("o", "a", "e", "")}):
            if base != w and base in present:
                return base
    return None


def one_entry_a_word(words, forms, counts):
    """The rules that take a word out for another one in the list: no member of a family left
    out by hand, no feminine beside its masculine, no diminutive or shortened form beside its
    base, one spelling of each word. The o/a pairs are settled once the hand exclusions are
    known (see main)."""
    present = set(words)
    seeds = {w for group in FAMILY_GROUPS for w in EXCLUDED[group].split()}
    hand = {name: set(text.split()) for name, text in ONE_ENTRY.items()}

    def linked(w):
        # Derivation and inflection only: a verb's participle is no family of the verb's.
        return {source for source, flag in forms.get(w, set()) if flag in AFFIXES - {"U"}}

    family = {w for w in words if w not in seeds and linked(w) & seeds}
    family |= {s for w in seeds for s in linked(w)} - seeds
    family -= hand["look-alikes of another family"]

    def feminine(w):
        # profesora, patrona, jueza of a masculine ending in a consonant; jefa, clienta,
        # tigresa, duquesa of one in -e. The o/a pairs are settled in main.
        if w.endswith(("enta", "anta", "efa")) and w[:-1] + "e" in present:
            return True
        if w.endswith("esa") and w[:-3] + "e" in present:
            return True
        return any(f == "G" and source in present and len(source) > 3 and source[-1] in "rnlsz"
                   for source, f in forms.get(w, set()))

    rules = (
        ("family of a word left out by hand", lambda w: w in family),
        ("feminine beside its masculine", feminine),
        ("diminutive beside its base",
         lambda w: w not in hand["diminutives of a meaning of their own"]
         and diminutive_base(w, present) is not None),
        ("shortened form beside the full word", lambda w: w in hand["shortened forms"]),
        ("second spelling of a word", lambda w: w in hand["spellings the RAE does not prefer"]),
    )
    for rule, out in rules:
        removed = [w for w in words if out(w)]
        counts[rule] = counts.get(rule, 0) + len(removed)
        words = [w for w in words if not out(w)]
    return words


def o_a_twin(w, kept, candidates, feminines, nouns):
    """Why w goes for a word a final o or a away from it, or None. A feminine participle or the
    feminine of a gender pair goes for its masculine wherever that stands; any other pair keeps
    the more common word. A noun in -ada or -ida (comida, llamada, salida) is no participle:
    it competes with the masculine like any other pair, so the word people say more stays."""
    if w.endswith("a") and w[:-1] + "o" in candidates:
        if w.endswith(("ada", "ida")) and w not in nouns:
            return "feminine participle beside its masculine"
        if w in feminines:
            return "feminine of a gender pair (o/a)"
    twin = w[:-1] + {"o": "a", "a": "o"}.get(w[-1], "?")
    return "o/a twin of a more common word" if twin in kept else None


# Words the rules above need named, because no program tells them apart.
ONE_ENTRY = {
    # The dictionary derives them from, or makes from them, a word left out by hand, yet they
    # mean something else: cabeza of cabecilla, auto of autismo, pedazo of pedo, codo of codazo.
    "look-alikes of another family": """
        cabeza auto gato pedazo moto casco pesada temer codo tango paleta bombilla bol
        horquilla bombo baza colegial aria salida
    """,
    "diminutives of a meaning of their own": """
        bonito favorito delito meteorito granito perito mosquito cabrito carrito palito
        bolita
    """,
    "shortened forms": """
        buen gran primer tercer cien san tan mal cualquier postrer
    """,
    "spellings the RAE does not prefer": """
        zinc obscuro obscuridad postgrado substrato setiembre kiosco transplante siquiatra
    """,
    "feminines of an o/a gender pair": """
        chica esposa buena nueva mala abuela perra hermana hija nieta novia tia amiga prima
        suegra maestra gata gemela enemiga morena rubia redonda serena mediana plena suelta sosa
    """,
}




def sha256(path):
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


def check_input(path, expected):
    actual = sha256(path)
    if actual != expected:
        sys.exit(f"{path}: SHA-256 {actual}, expected {expected}; the list would differ")


def read_frequencies(package):
    """Each word's better (lower) rank in the subtitle and Wikipedia lists, for the rules that ask
    whether a word is in use; and each word's rank in the subtitle list alone, which orders the
    candidates."""
    with tarfile.open(package) as tar:
        lists = [json.load(tar.extractfile(f"package/src/{name}.json"))
                 for name in ("commonWords", "wikipedia")]
    rank = {}
    for words in lists:
        for position, word in enumerate(words):
            if position < rank.get(word, position + 1):
                rank[word] = position
    spoken = {}
    for position, word in enumerate(lists[0]):
        spoken.setdefault(word, position)
    return rank, spoken


def read_dictionary():
    """The lowercase entries of es_ES.dic with their flags, and the suffix rules of AFFIXES."""
    entries = {}
    with open(DICTIONARY + ".dic", encoding="utf-8") as f:
        next(f)  # the entry count
        for line in f:
            word, _, flags = line.strip().partition("/")
            if word and word == word.lower():
                entries.setdefault(word, []).append(set(flags))
    rules = {}
    with open(DICTIONARY + ".aff", encoding="utf-8") as f:
        for line in f:
            field = line.split()
            if len(field) >= 5 and field[0] == "SFX" and field[1] in AFFIXES:
                strip = "" if field[2] == "0" else field[2]
                add = field[3].split("/")[0]  # the base form, without what may follow it
                add = "" if add == "0" else add
                condition = re.compile("(?:" + field[4] + ")$")
                rules.setdefault(field[1], []).append((strip, add, condition))
    return entries, rules


def affix_forms(entries, rules):
    """Every form a suffix rule makes from an entry (but the entry itself), with its sources."""
    forms = {}
    for word, flag_sets in entries.items():
        for flag in set().union(*flag_sets) & set(rules):
            for strip, add, condition in rules[flag]:
                if word.endswith(strip) and condition.search(word):
                    form = word[: len(word) - len(strip)] + add
                    if form != word:
                        forms.setdefault(form, set()).add((word, flag))
    return forms


def nouns_in_ada_ida():
    """Entries in -ada or -ida that take a plural of their own (comida/rS, llamada/S): nouns,
    where a bare participle's feminine (cansada/h) has no such entry."""
    with open(DICTIONARY + ".dic", encoding="utf-8") as f:
        pairs = (line.strip().partition("/") for line in f)
        return {w for w, _, flags in pairs if w.endswith(("ada", "ida")) and "S" in flags}


def is_verb(word, entries):
    # Irregular verbs (dar, estar, haber) have no conjugation flags; the dictionary lists their
    # forms with pronouns as entries of their own instead.
    return (any(flags & VERB_FLAGS for flags in entries[word])
            or word + "se" in entries or word + "lo" in entries)


def dictionary_form(word, entries, forms, rank):
    if word in NOUNS_OF_THEIR_OWN:
        return True
    made = {(source, flag) for source, flag in forms.get(word, set()) if flag != DIMINUTIVE}
    inflections = {source for source, flag in made if flag in INFLECTIONS}
    if word not in entries:
        # A derived word the dictionary makes rather than lists (bolsillo, equipaje, saludable),
        # or a feminine noun it makes out of a masculine nobody uses (lavadora, vida).
        if not any(flag in DERIVATIONS for _, flag in made) and not (
                inflections and not word.endswith("s") and not inflections & set(rank)):
            return False
    elif inflections:
        if word.endswith("s"):
            return False  # a plural
        if not any(flags & {"S", "N"} for flags in entries[word]):
            return False  # the feminine of an adjective, not a noun of its own
    for clitic in CLITICS:
        base = word[: -len(clitic)]
        if (word.endswith(clitic) and base.endswith(("ar", "er", "ir")) and base in entries
                and is_verb(base, entries)):
            return False
    return True


def marked_twins(word):
    """The word with one or two letters marked (accent, n-tilde, diaeresis)."""
    places = [i for i, c in enumerate(word) if c in MARKED]
    twins = set()
    for count in (1, 2):
        for chosen in itertools.combinations(places, count):
            for marks in itertools.product(*(MARKED[word[i]] for i in chosen)):
                letters = list(word)
                for i, mark in zip(chosen, marks):
                    letters[i] = mark
                twins.add("".join(letters))
    return twins


def stems(words):
    """The dictionary entries hunspell takes each word to be a form of."""
    words = sorted(words)
    out = subprocess.run(["hunspell", "-d", DICTIONARY, "-s"], input="\n".join(words) + "\n",
                         capture_output=True, text=True, check=True).stdout
    found = {}
    for line in out.split("\n"):
        field = line.split()
        if len(field) == 2:
            found.setdefault(field[0], set()).add(field[1])
    return found


def spelt_right(words):
    """The words hunspell accepts with Debian's es_ES dictionary."""
    words = sorted(words)
    wrong = subprocess.run(["hunspell", "-d", DICTIONARY, "-l"], input="\n".join(words) + "\n",
                           capture_output=True, text=True, check=True).stdout.split("\n")
    return set(words) - set(wrong)


def candidates_in_rank_order(rank, spoken, counts):
    """The words that pass every rule but the hand exclusions, in the subtitle list's order."""
    entries, rules = read_dictionary()
    forms = affix_forms(entries, rules)

    def passes(rule, ok):
        counts[rule] = counts.get(rule, 0) + (not ok)
        return ok

    words = [w for w in sorted(spoken, key=lambda w: (spoken[w], w))
             if re.fullmatch("[a-z]{3,9}", w) and (w in entries or w in forms)]
    words = [w for w in words
             if passes("not a dictionary form", dictionary_form(w, entries, forms, rank))]
    twins = {w: marked_twins(w) for w in words}
    right = spelt_right(set(words).union(*twins.values()))
    words = [w for w in words if passes("spelt wrong", w in right)]
    twin_stems = stems({t for ts in twins.values() for t in ts & right})
    with open(DICTIONARY + ".dic", encoding="utf-8") as f:
        headwords = {line.split("/")[0].strip() for line in f}

    def misleading(twin):
        # A twin a reader could have in mind: a headword of its own (papá, cañón) or a form of a
        # word common enough to be in the frequency lists (está, tenía, trabajó). A form of a
        # word nobody uses (amigó of amigar, casá of the voseo) misleads no one.
        return twin in headwords or any(w in rank for w in {twin} | twin_stems.get(twin, set()))

    words = [w for w in words
             if passes("accented twin", not any(map(misleading, twins[w] & right)))]
    return one_entry_a_word(words, forms, counts)


def main():
    args = sys.argv[1:]
    report = "--report" in args
    ranked_out = "--ranked" in args
    args = [a for a in args if not a.startswith("--")]
    if len(args) != 1:
        sys.exit(__doc__)
    check_input(args[0], PACKAGE_SHA256)
    for ext, expected in DICTIONARY_SHA256.items():
        check_input(DICTIONARY + ext, expected)

    rank, spoken = read_frequencies(args[0])
    counts = {}
    candidates = candidates_in_rank_order(rank, spoken, counts)

    reason_of = {w: reason for reason, words in EXCLUDED.items() for w in words.split()}
    feminines = set(ONE_ENTRY["feminines of an o/a gender pair"].split())
    nouns = nouns_in_ada_ida()
    in_list = {w for w in candidates if w not in reason_of}
    kept, removed = [], {}
    for w in candidates:
        if len(kept) == WORDS:
            break
        reason = reason_of.get(w) or o_a_twin(w, set(kept), in_list, feminines, nouns)
        if reason:
            removed[reason] = removed.get(reason, 0) + 1
        else:
            kept.append(w)
    if ranked_out:
        sys.stdout.write("".join(f"{w}\n" for w in candidates if w not in reason_of))
        return
    if len(kept) < WORDS:
        sys.exit(f"only {len(kept)} words pass the rules")
    if report:
        print(f"{len(rank)} distinct words in the frequency lists", file=sys.stderr)
        for rule, n in counts.items():
            print(f"{n} left out: {rule}", file=sys.stderr)
        print(f"{len(candidates)} candidates; the last word kept is number "
              f"{candidates.index(kept[-1]) + 1}", file=sys.stderr)
        for reason in removed:
            if reason not in EXCLUDED:
                print(f"{removed[reason]} left out: {reason}", file=sys.stderr)
        for reason in EXCLUDED:
            print(f"{removed.get(reason, 0)} removed by hand: {reason}", file=sys.stderr)
    sys.stdout.write("".join(f"{w}\n" for w in sorted(kept)))


if __name__ == "__main__":
    main()
