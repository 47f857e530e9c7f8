#include "host/system_printer.h"

// Placeholder while the printer surface is being written.
struct SystemPrinter::Private
{
    double x = 0;
    double y = 0;
};

SystemPrinter::SystemPrinter() : d(std::make_unique<Private>()) {}
SystemPrinter::~SystemPrinter() = default;
int SystemPrinter::fontCount() { return 0; }
QString SystemPrinter::fonts(int) { return {}; }
double SystemPrinter::currentX() const { return d->x; }
void SystemPrinter::setCurrentX(double twips) { d->x = twips; }
double SystemPrinter::currentY() const { return d->y; }
void SystemPrinter::setCurrentY(double twips) { d->y = twips; }
void SystemPrinter::setFontName(const QString &) { throw PrinterError("not yet"); }
void SystemPrinter::setFontSize(double) { throw PrinterError("not yet"); }
void SystemPrinter::setFontBold(bool) {}
void SystemPrinter::setFontItalic(bool) {}
void SystemPrinter::printLine(const QString &) { throw PrinterError("not yet"); }
void SystemPrinter::endDoc() {}
void SystemPrinter::killDoc() {}
