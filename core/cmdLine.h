// Command-line options and the globals they set.
#pragma once

#include <string>
#include <vector>

extern char FunctionKeyString[25];
extern char CursorKeyString[25];
extern char WindowLabelString[25];
extern char XW_geometry[20];
extern int red_fg, green_fg, blue_fg;
extern int red_bg, green_bg, blue_bg;
extern int red_sw, green_sw, blue_sw;
extern unsigned long stopTime;
extern int displayTimeFlag;
extern int connectMuxOnlyFlag;
extern int useXDisplay;
extern int earlyExitFlag;
extern int userRunTimeFlag[16];
extern int profRunTimeFlag[16];
extern int numberOfUserRunTimeFlags;
extern int numberOfProfRunTimeFlags;
extern int zFlagSet;
extern int zSetXa, zSetYa, zSetXb, zSetYb;
// -k: the scripted key presses as given (checked and read by the key script).
extern std::string keyScriptOption;
// -s: a line per probe with its value when the run ends.
extern int summaryFlag;
// -V: the Value Change Dump's file name (empty: no dump); -A: every signal.
extern std::string vcdFileName;
extern int vcdAllSignals;
// -P: the high-contrast palette of value colours.
extern int highContrastFlag;
// -R: each "ROM=FILE" as given, in order (read once the circuit is built).
extern std::vector<std::string> romFileOptions;
// -w: probe labels or signal names whose values are explained when the run ends.
extern std::vector<std::string> explainNames;

// Parses the options into the globals; ends the process for -h.  Unknown
// options, missing arguments, too few values, overlong strings and flag numbers
// outside 0..15 are reported on standard error and ignored.  A number its
// option cannot take (a colour value outside 0..255, a negative or too large
// stop time, a flag, flag number or zoom corner beyond int) and a -g width or
// height outside 1..32767 are reported and end the process with status 1, as
// does an empty -V file name.
void commandLine(int argc, char **argv);

// Puts every option global back to its default and restarts the option scan:
// the start of every run (Sim), before the command line is read.
void resetOptions();
