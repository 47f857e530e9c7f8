#pragma once

#include "host/runtime.h"

class Printer;

// The runtime services of the running Qt application.
class SystemRuntime : public Runtime
{
public:
    static constexpr const char *ProgramTitle = "Glyphora";

    // Ending the program throws away the printer's unfinished document, so
    // that no partial print job or file is left behind.
    explicit SystemRuntime(Printer &printer);

    void pumpEvents() override;
    [[noreturn]] void endProgram() override;
    void messageBox(const QString &text, int style, const QString &title = {}) override;
    QString readSetting(const QString &application, const QString &section,
                        const QString &key) override;
    void writeSetting(const QString &application, const QString &section, const QString &key,
                      const QString &value) override;
    QString shortDate() override;

private:
    Printer &m_printer;
};
