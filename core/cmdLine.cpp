// Command-line parsing into the option globals.
#include "core/cmdLine.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <iterator>

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

namespace {

const char *const helpText = "Command line options:\n"
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
                             "  -h\n";

const int numberOfRunTimeFlags = 16;

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
    red = std::atoi(values[0]);
    green = std::atoi(values[1]);
    blue = std::atoi(values[2]);
}

// Stores one run-time flag (-u or -p): table[flagNr] = flag, counting the use.
void setRunTimeFlag(int argc, char **argv, char option, int (&table)[16], int &count) {
    char *values[2];
    if (!takeValues(argc, argv, option, 2, values))
        return;
    const int flagNumber = std::atoi(values[0]);
    if (flagNumber < 0 || flagNumber >= numberOfRunTimeFlags) {
        std::cerr << "Option -" << option << " ignored: flag number " << flagNumber << " is outside 0.."
                  << numberOfRunTimeFlags - 1 << ".\n";
        return;
    }
    table[flagNumber] = static_cast<int>(std::strtol(values[1], nullptr, 0));
    ++count;
}

// Reads the four corners of -z.
void setZoom(int argc, char **argv) {
    char *values[4];
    if (!takeValues(argc, argv, 'z', 4, values))
        return;
    zFlagSet = 1;
    zSetXa = std::atoi(values[0]);
    zSetYa = std::atoi(values[1]);
    zSetXb = std::atoi(values[2]);
    zSetYb = std::atoi(values[3]);
}

} // namespace

void commandLine(int argc, char **argv) {
    int c;
    while ((c = norvale::getopt(argc, argv, "C:c:S:EF:g:K:hmp:T:tu:W:Xz:")) != -1) {
        switch (c) {
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
            break;
        case 'K':
            copyBounded('K', norvale::optarg, CursorKeyString);
            break;
        case 'h':
            std::cerr << helpText;
            std::exit(0);
        case 'm':
            connectMuxOnlyFlag = 1;
            break;
        case 'p':
            setRunTimeFlag(argc, argv, 'p', profRunTimeFlag, numberOfProfRunTimeFlags);
            break;
        case 'T':
            stopTime = static_cast<unsigned long>(std::atol(norvale::optarg));
            break;
        case 't':
            displayTimeFlag ^= 1;
            break;
        case 'u':
            setRunTimeFlag(argc, argv, 'u', userRunTimeFlag, numberOfUserRunTimeFlags);
            break;
        case 'W':
            copyBounded('W', norvale::optarg, WindowLabelString);
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
    norvale::resetGetopt();
}
