// Command-line parsing into the option globals.
#include "core/cmdLine.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <iterator>
#include <limits>
#include <string>

#include "core/getopt.h"

char FunctionKeyString[25];
char CursorKeyString[25];
char WindowLabelString[25];
char XW_geometry[20];
int red_fg, green_fg, blue_fg;
int red_bg, green_bg, blue_bg;
int red_sw, green_sw, blue_sw;
unsigned long stopTime;
int displayTimeFlag;
int connectMuxOnlyFlag;
int useXDisplay = 1;
int earlyExitFlag;
int userRunTimeFlag[16] = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
int profRunTimeFlag[16] = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
int numberOfUserRunTimeFlags;
int numberOfProfRunTimeFlags;
int zFlagSet;
int zSetXa, zSetYa, zSetXb, zSetYb;
std::string keyScriptOption;
int summaryFlag;
std::string vcdFileName;
int vcdAllSignals;
int highContrastFlag;
std::vector<std::string> romFileOptions;
std::vector<std::string> explainNames;

namespace {

const char *const helpText =
    "Command line options:\n"
    " Colors (ForeGround,BackGround,SubWindow) (0-255 for each component)\n"
    "  -C <redFG> <greenFG> <blueFG>\n"
    "  -c <redBG> <greenBG> <blueBG>\n"
    "  -S <redSW> <greenSW> <blueSW>\n"
    " Early Exit\n"
    "  -E\n"
    " Function Key Operate\n"
    "  -F <string of operations> ops from {23456789HUDE}>\n"
    "     {H:Home; U:PgUp; D:PgDn; E:End}\n"
    "   for example:  -F 23589DD\n"
    " Geometry (standard X Window geometry format)\n"
    "  -g wxh+x+y\n"
    "   for example:  -g 1000x900+100+50\n"
    " Cursor Key Operate\n"
    "  -K <digit string> , digits from {0123}>\n"
    "     {0:left; 1:up; 2:right; 3:down}\n"
    "   for example:  -K 0003\n"
    " ProfRunTimeFlags\n"
    "  -p <flagNr> <flag> \n"
    "   (flag[0..15]: octal, hex or int accepted)\n"
    " StopTime\n"
    "  -T <time>\n"
    " Time Display\n"
    "  -t\n"
    " UserRunTimeFlags\n"
    "  -u <flagNr> <flag> \n"
    "   (flag[0..15]: octal, hex or int accepted)\n"
    " WindowLabelString\n"
    "  -W <windowLabel>\n"
    " Don't use X-Display\n"
    "  -X\n"
    " ZoomIn (to upper left and lower right coordinates)\n"
    "  -z <xul> <yul> <xlr> <ylr>\n"
    " Help\n"
    "  -h\n"
    "   (-K without a window: the slow-down does not wait)\n"
    " Scripted and headless runs\n"
    "  -k <keys>   keys pressed in order, each once the circuit has settled\n"
    "   items separated by commas: c, c*count, or c@time (press at that time)\n"
    "   \\, and \\\\ stand for a comma and a backslash key\n"
    "   for example:  -k '1,1,0*72'\n"
    "  -s          a line per probe with its present value when the run ends\n"
    "  -V <file>   a Value Change Dump of the probed signals to file\n"
    "  -A          with -V: every signal of the circuit\n"
    "  -w <name>   when the run ends, why a probe's or signal's bits are not\n"
    "              ZERO or ONE (a probe label or a signal bit: AC, mbr[3]; repeatable)\n"
    "  -P          high-contrast value colours (for projectors)\n"
    " ROM contents from files\n"
    "  -R <rom>=<file>  load the ROM at that position from file (may be repeated)\n"
    "   for example:  -R eo-hr.aa.aa=examples/sum.asm\n";

const int numberOfRunTimeFlags = 16;

// The range of a colour component and of a window's width and height (the
// X protocol carries sizes in 16 signed bits and refuses zero).
const long long colourMin = 0, colourMax = 255;
const long long windowSizeMin = 1, windowSizeMax = 32767;

// Ends the process for a number that its option cannot take.
[[noreturn]] void rejectNumber(char option, const char *what, const char *word, long long min,
                               unsigned long long max) {
    std::cerr << "Option -" << option << " rejected: " << what << " " << word << " is outside " << min << ".."
              << max << ".\n";
    std::exit(1);
}

// How the options that take numbers say how many they take.
const char *const numberCounts[] = {"", "a number", "two numbers", "three numbers", "four numbers"};

// A word such as -R or -k, which is more likely the next option than a value.
bool looksLikeAnOption(const char *word) {
    return word[0] == '-' && word[1] != '\0' && !std::isdigit(static_cast<unsigned char>(word[1]));
}

// Whether the number read from word ended at end with nothing but blanks after it.
bool whollyANumber(const char *word, const char *end) {
    if (end == word)
        return false;
    while (std::isspace(static_cast<unsigned char>(*end)))
        ++end;
    return *end == '\0';
}

// The numbers of an option are read as strtol reads them, which scripts may
// rely on; a word that is not wholly a number still says so on standard
// error, with the value taken from it, since a typing slip would otherwise
// pass unnoticed.  numbers: how many the option takes.
void warnAboutNumber(char option, int numbers, const char *word, const char *end, const std::string &used) {
    if (looksLikeAnOption(word))
        std::cerr << "Warning -- -" << option << " takes " << numberCounts[numbers] << "; '" << word
                  << "' looks like an option.\n";
    else if (!whollyANumber(word, end))
        std::cerr << "Warning -- -" << option << ": '" << word << "' is not a number; " << used
                  << " is used.\n";
}

// The number a word begins with, read as strtol reads it in base (a word that
// is no number gives 0, with a warning).  Ends the process with status 1 when
// the number lies outside min..max, rather than letting it wrap.
long long numberInRange(char option, int numbers, const char *what, const char *word, long long min,
                        long long max, int base = 10) {
    errno = 0;
    char *end = nullptr;
    const long long value = std::strtoll(word, &end, base);
    if (errno == ERANGE || value < min || value > max)
        rejectNumber(option, what, word, min, static_cast<unsigned long long>(max));
    warnAboutNumber(option, numbers, word, end, std::to_string(value));
    return value;
}

// A stop time: the whole unsigned long range, and no negative value.
unsigned long timeInRange(const char *word) {
    const unsigned long long max = std::numeric_limits<unsigned long>::max();
    const char *digits = word;
    while (std::isspace(static_cast<unsigned char>(*digits)))
        ++digits;
    errno = 0;
    // strtoull would quietly negate a minus sign into a huge time.
    const bool negative = *digits == '-' && std::strtoll(digits, nullptr, 10) != 0;
    char *end = nullptr;
    const unsigned long long value = negative ? 0 : std::strtoull(digits, &end, 10);
    if (negative || errno == ERANGE || value > max)
        rejectNumber('T', "time", word, 0, max);
    warnAboutNumber('T', 1, word, end == digits ? word : end, std::to_string(value));
    return static_cast<unsigned long>(value);
}

// One number of a geometry string as the X geometry parser reads it: an
// optional sign, then decimal digits.  Saturates far beyond any window size.
long long geometryNumber(const char *&s) {
    const long long sign = *s == '-' ? -1 : 1;
    if (*s == '+' || *s == '-')
        ++s;
    long long value = 0;
    for (; std::isdigit(static_cast<unsigned char>(*s)); ++s)
        value = std::min(value * 10 + (*s - '0'), 1LL << 40);
    return sign * value;
}

// Reads a number at s into value and its text; false when nothing was read.
bool readGeometryNumber(const char *&s, long long &value, std::string &text) {
    const char *start = s;
    value = geometryNumber(s);
    text.assign(start, s);
    return s != start;
}

// The width and height a geometry string "[=][w][{xX}h][{+-}x[{+-}y]]" asks
// for, with their text.  A string of any other form is ignored by the window
// (it then takes its default geometry), so nothing of it is asked for.
struct GeometrySize {
    bool hasWidth = false, hasHeight = false;
    long long width = 0, height = 0;
    std::string widthText, heightText;
};
GeometrySize geometrySize(const char *s) {
    GeometrySize size;
    const GeometrySize none;
    long long offset;
    std::string offsetText;
    if (*s == '=')
        ++s;
    if (*s != '+' && *s != '-' && *s != 'x' && *s != '\0') {
        if (!readGeometryNumber(s, size.width, size.widthText))
            return none;
        size.hasWidth = true;
    }
    if (*s == 'x' || *s == 'X') {
        ++s;
        if (!readGeometryNumber(s, size.height, size.heightText))
            return none;
        size.hasHeight = true;
    }
    for (int k = 0; k < 2 && (*s == '+' || *s == '-'); ++k) {
        ++s;
        if (!readGeometryNumber(s, offset, offsetText))
            return none;
    }
    return *s == '\0' ? size : none;
}

// A window of no size, or wider or higher than the protocol can carry, would
// be refused by the server and never shown: such a -g ends the process.
void checkGeometry(const char *geometry) {
    const GeometrySize size = geometrySize(geometry);
    if (size.hasWidth && (size.width < windowSizeMin || size.width > windowSizeMax))
        rejectNumber('g', "width", size.widthText.c_str(), windowSizeMin, windowSizeMax);
    if (size.hasHeight && (size.height < windowSizeMin || size.height > windowSizeMax))
        rejectNumber('g', "height", size.heightText.c_str(), windowSizeMin, windowSizeMax);
}

// Collects the values of a multi-word option: the first is the option's own
// argument, each further one the next word of argv.  When argv holds fewer
// further words than needed, nothing is taken, the shortfall is reported and
// false is returned.
bool takeValues(int argc, char **argv, char option, int needed, char **values) {
    if (argc - norvale::optind < needed - 1) {
        std::cerr << "Option -" << option << " ignored: it needs " << needed << " values.\n";
        return false;
    }
    values[0] = norvale::optarg;
    for (int k = 1; k < needed; ++k)
        values[k] = argv[norvale::optind++];
    return true;
}

// Copies a string option into its fixed buffer, or rejects it whole when it
// does not fit: a shortened key-replay string would act out keys nobody asked for.
template <std::size_t N> void copyBounded(char option, const char *argument, char (&buffer)[N]) {
    if (std::strlen(argument) > N - 1) {
        std::cerr << "Option -" << option << " ignored: its argument is longer than " << N - 1
                  << " characters.\n";
        return;
    }
    std::strcpy(buffer, argument);
}

// Reads three colour components into red, green and blue.
void setTriple(int argc, char **argv, char option, int &red, int &green, int &blue) {
    char *values[3];
    if (!takeValues(argc, argv, option, 3, values))
        return;
    red = static_cast<int>(numberInRange(option, 3, "value", values[0], colourMin, colourMax));
    green = static_cast<int>(numberInRange(option, 3, "value", values[1], colourMin, colourMax));
    blue = static_cast<int>(numberInRange(option, 3, "value", values[2], colourMin, colourMax));
}

// Stores one run-time flag (-u or -p): table[flagNr] = flag, counting the use.
void setRunTimeFlag(int argc, char **argv, char option, int (&table)[16], int &count) {
    char *values[2];
    if (!takeValues(argc, argv, option, 2, values))
        return;
    const int flagNumber =
        static_cast<int>(numberInRange(option, 2, "flag number", values[0], INT_MIN, INT_MAX));
    if (flagNumber < 0 || flagNumber >= numberOfRunTimeFlags) {
        std::cerr << "Option -" << option << " ignored: flag number " << flagNumber << " is outside 0.."
                  << numberOfRunTimeFlags - 1 << ".\n";
        return;
    }
    // Octal, hexadecimal or decimal, as the help says.
    table[flagNumber] = static_cast<int>(numberInRange(option, 2, "flag", values[1], INT_MIN, INT_MAX, 0));
    ++count;
}

// Reads the four corners of -z.
void setZoom(int argc, char **argv) {
    char *values[4];
    if (!takeValues(argc, argv, 'z', 4, values))
        return;
    int *const corners[4] = {&zSetXa, &zSetYa, &zSetXb, &zSetYb};
    for (int k = 0; k < 4; ++k)
        *corners[k] = static_cast<int>(numberInRange('z', 4, "corner", values[k], INT_MIN, INT_MAX));
    zFlagSet = 1;
}

} // namespace

void commandLine(int argc, char **argv) {
    int c;
    while ((c = norvale::getopt(argc, argv, "AC:c:S:EF:g:K:hk:mp:PR:sT:tu:V:W:w:Xz:")) != -1) {
        switch (c) {
        case 'A':
            vcdAllSignals = 1;
            break;
        case 'C':
            setTriple(argc, argv, 'C', red_fg, green_fg, blue_fg);
            break;
        case 'c':
            setTriple(argc, argv, 'c', red_bg, green_bg, blue_bg);
            break;
        case 'S':
            setTriple(argc, argv, 'S', red_sw, green_sw, blue_sw);
            break;
        case 'E':
            earlyExitFlag = 1;
            break;
        case 'F':
            copyBounded('F', norvale::optarg, FunctionKeyString);
            break;
        case 'g':
            copyBounded('g', norvale::optarg, XW_geometry);
            checkGeometry(XW_geometry);
            break;
        case 'K':
            copyBounded('K', norvale::optarg, CursorKeyString);
            break;
        case 'h':
            std::cerr << helpText;
            std::exit(0);
        case 'k':
            keyScriptOption = norvale::optarg;
            break;
        case 'm':
            connectMuxOnlyFlag = 1;
            break;
        case 'p':
            setRunTimeFlag(argc, argv, 'p', profRunTimeFlag, numberOfProfRunTimeFlags);
            break;
        case 'P':
            highContrastFlag = 1;
            break;
        case 'R':
            romFileOptions.push_back(norvale::optarg);
            break;
        case 's':
            summaryFlag = 1;
            break;
        case 'T':
            stopTime = timeInRange(norvale::optarg);
            break;
        case 't':
            displayTimeFlag ^= 1;
            break;
        case 'u':
            setRunTimeFlag(argc, argv, 'u', userRunTimeFlag, numberOfUserRunTimeFlags);
            break;
        case 'V':
            // An empty name would silently mean no dump at all.
            if (*norvale::optarg == '\0') {
                std::cerr << "Option -V rejected: the file name is empty.\n";
                std::exit(1);
            }
            vcdFileName = norvale::optarg;
            break;
        case 'W':
            copyBounded('W', norvale::optarg, WindowLabelString);
            break;
        case 'w':
            explainNames.emplace_back(norvale::optarg);
            break;
        case 'X':
            useXDisplay = 0;
            break;
        case 'z':
            setZoom(argc, argv);
            break;
        default: // '?': the scanner has already said why
            break;
        }
    }
}

void resetOptions() {
    FunctionKeyString[0] = CursorKeyString[0] = WindowLabelString[0] = XW_geometry[0] = '\0';
    red_fg = green_fg = blue_fg = 0;
    red_bg = green_bg = blue_bg = 0;
    red_sw = green_sw = blue_sw = 0;
    stopTime = 0;
    displayTimeFlag = connectMuxOnlyFlag = earlyExitFlag = 0;
    useXDisplay = 1;
    std::fill(std::begin(userRunTimeFlag), std::end(userRunTimeFlag), -1);
    std::fill(std::begin(profRunTimeFlag), std::end(profRunTimeFlag), -1);
    numberOfUserRunTimeFlags = numberOfProfRunTimeFlags = 0;
    zFlagSet = zSetXa = zSetYa = zSetXb = zSetYb = 0;
    keyScriptOption.clear();
    summaryFlag = vcdAllSignals = highContrastFlag = 0;
    vcdFileName.clear();
    romFileOptions.clear();
    explainNames.clear();
    norvale::resetGetopt();
}
