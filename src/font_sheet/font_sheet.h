#pragma once

class Pressel;
class Printer;
class Runtime;
class Screen;

// Print Fonts: prints a font sheet of the fonts selected in the main
// window's font list. A heading line names the program and the day; every
// selected font then gets a caption line with its name in parentheses and a
// sample line in the font itself, at the chosen print size.
//
// The run drives the progress window, whose Stop button ends it, and runs
// the event pump once per list entry; every control is read afresh when it
// is needed, so changes the user makes meanwhile apply to the fonts not yet
// printed. From the first selected font on, any failure is reported in one
// message box and the run ends with nothing sent to the printer.
void printFontSheet(Pressel &pressel, Printer &printer, Screen &screen, Runtime &runtime);
