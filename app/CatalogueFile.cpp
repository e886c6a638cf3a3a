#include "CatalogueFile.h"

#include "DataFiles.h"
#include "ViewZoom.h"

#include <QLocale>

using namespace fosdat;

namespace
{

// The view lays a document out in zoomed pixels: at its largest zoom, the
// height Qt can lay out holds that much less of the document.
constexpr qreal ViewLayoutHeight = rtf::limits::QtLayoutHeight * 100 / ViewZoom::LargestPercent;

const char *const PartProperty = "fosdatPartOfCatalogue";
const char *const PlainPartProperty = "fosdatCataloguePartlyPlain";

} // namespace

std::unique_ptr<QTextDocument> readCatalogue(const QString &path, const rtf::ReadProgress &progress)
{
    const std::optional<QByteArray> bytes = data::readRegularFile(path);
    if (!bytes)
        return nullptr;
    rtf::ReadResult result = rtf::read(
        *bytes,
        {.layoutHeight = ViewLayoutHeight, .progress = progress, .closingLine = partShownLine});
    if (result.document && result.cut)
        result.document->setProperty(PartProperty, true);
    if (result.document && result.plainPast)
        result.document->setProperty(PlainPartProperty, true);
    return std::move(result.document);
}

bool isPartOfCatalogue(const QTextDocument &document)
{
    return document.property(PartProperty).toBool();
}

bool isPartlyPlain(const QTextDocument &document)
{
    return document.property(PlainPartProperty).toBool();
}

QString partShownLine(qint64 shownCharacters, qint64 characters)
{
    // Cut where nothing but pictures or blank lines was left out.
    if (shownCharacters >= characters)
        return PartShownNotice.toString();
    // "из 21 знака", "из 25 знаков"
    const bool one = characters % 10 == 1 && characters % 100 != 11;
    const QLocale russian(QLocale::Russian);
    return QStringLiteral("Файл слишком велик: показано %1 из %2 %3")
        .arg(russian.toString(shownCharacters), russian.toString(characters),
             one ? QStringLiteral("знака") : QStringLiteral("знаков"));
}
