#include "host/printer_fonts.h"

#include "host/font_families.h"
#include "host/printer.h"

#include <QFont>
#include <QFontInfo>

#include <fontconfig/fontconfig.h>

#include <memory>

namespace {

struct PatternDeleter
{
    void operator()(FcPattern *pattern) const { FcPatternDestroy(pattern); }
};
using Pattern = std::unique_ptr<FcPattern, PatternDeleter>;

// What fontconfig makes of a name, as fc-match does it.
struct FontconfigMatch
{
    // The family of the face it matches.
    QString family;
    // The name's own family and the aliases configured to stand for it
    // (metric twins and the like), as opposed to the generic fallbacks that
    // every name gets.
    QStringList strongFamilies;
};

FontconfigMatch matchName(const QString &name)
{
    const QByteArray utf8 = name.toUtf8();
    auto text = [](const FcChar8 *s) { return QString::fromUtf8(reinterpret_cast<const char *>(s)); };

    // FcNameParse reads "AvantGarde-Book" as fc-match does; a name it cannot
    // parse is taken as a plain family.
    Pattern pattern(FcNameParse(reinterpret_cast<const FcChar8 *>(utf8.constData())));
    if (!pattern) {
        pattern.reset(FcPatternCreate());
        FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8 *>(utf8.constData()));
    }
    FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);

    FontconfigMatch match;
    FcValue value;
    FcValueBinding binding;
    for (int i = 0; FcPatternGetWithBinding(pattern.get(), FC_FAMILY, i, &value, &binding) == FcResultMatch;
         ++i) {
        if (binding == FcValueBindingStrong && value.type == FcTypeString)
            match.strongFamilies.append(text(value.u.s));
    }

    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    const Pattern font(FcFontMatch(nullptr, pattern.get(), &result));
    FcChar8 *family = nullptr;
    if (font && FcPatternGetString(font.get(), FC_FAMILY, 0, &family) == FcResultMatch)
        match.family = text(family);
    return match;
}

// Whether Qt draws family in that family itself and not in a fallback.
bool qtDraws(const QString &family)
{
    // Twins of one design from two font files come back foundry-tagged.
    const QString drawn = withoutFoundryTag(QFontInfo(QFont(family)).family());
    return drawn.compare(family, Qt::CaseInsensitive) == 0;
}

} // namespace

PrinterFonts::PrinterFonts(const QStringList &families, const QStringList &residentNames)
    : m_names(families + residentNames)
{
    m_families.reserve(families.size());
    for (const QString &family : families)
        m_families.insert(family.toCaseFolded(), family);
    m_resident = QSet<QString>(residentNames.cbegin(), residentNames.cend());
}

QString PrinterFonts::familyFor(const QString &name)
{
    auto answer = m_answers.constFind(name);
    if (answer == m_answers.cend())
        answer = m_answers.insert(name, resolve(name));
    if (answer->isEmpty())
        throw PrinterError(QStringLiteral("The printer has no font \"%1\".").arg(name).toStdString());
    return *answer;
}

QString PrinterFonts::resolve(const QString &name) const
{
    QString family = m_families.value(name.toCaseFolded());
    if (family.isEmpty()) {
        const FontconfigMatch match = matchName(name);
        const bool stands = m_resident.contains(name)
            || match.strongFamilies.contains(match.family, Qt::CaseInsensitive);
        if (stands)
            family = match.family;
    }
    return !family.isEmpty() && qtDraws(family) ? family : QString();
}
