#include "CatalogueWriter.h"

#include "Catalogue.h"
#include "RtfStream.h"

#include <QStringList>
#include <array>
#include <cstdint>
#include <initializer_list>

namespace fosdat::sampledata
{

using namespace Qt::StringLiterals;

namespace
{

// Color indices of the color table written below.
constexpr QByteArrayView FamilyColor = "cf2";
constexpr QByteArrayView HeadingColor = "cf3";

// "{\\word1\\word2 text}", and "{\\*\\word text}" for a destination that
// readers may skip.
void writeGroup(RtfStream &rtf, std::initializer_list<QByteArrayView> words, QStringView text)
{
    rtf.openGroup();
    rtf.controls(words);
    rtf.text(text);
    rtf.closeGroup();
}

void writeOptionalGroup(RtfStream &rtf, QByteArrayView word, QStringView text)
{
    rtf.openGroup();
    rtf.ignorable();
    rtf.control(word);
    rtf.text(text);
    rtf.closeGroup();
}

void writeFont(RtfStream &rtf, std::initializer_list<QByteArrayView> words, QStringView panose,
               const QString &name)
{
    rtf.openGroup();
    rtf.controls(words);
    writeOptionalGroup(rtf, "panose", panose);
    rtf.text(name + u';');
    rtf.closeGroup();
}

void writeTables(RtfStream &rtf)
{
    rtf.openGroup();
    rtf.control("fonttbl");
    writeFont(rtf, {"f0", "fswiss", "fcharset204"}, u"020b0604020202020204", u"Arial"_s);
    writeFont(rtf, {"f1", "froman", "fcharset204"}, u"02020603050405020304", u"Times New Roman"_s);
    rtf.closeGroup();
    rtf.lineBreak();

    rtf.openGroup();
    rtf.control("colortbl");
    rtf.text(u";");
    struct Color {
        int red, green, blue;
    };
    // Black, navy for family headings, maroon for the heading.
    for (const Color color : {Color{0, 0, 0}, Color{0, 0, 128}, Color{128, 0, 0}}) {
        rtf.control("red" + QByteArray::number(color.red));
        rtf.control("green" + QByteArray::number(color.green));
        rtf.control("blue" + QByteArray::number(color.blue));
        rtf.text(u";");
    }
    rtf.closeGroup();
    rtf.lineBreak();

    rtf.openGroup();
    rtf.control("stylesheet");
    writeGroup(rtf, {"f0", "fs20"}, u"Normal;");
    writeGroup(rtf, {"s1", "sbasedon0", "snext0", "keepn", "b", "fs24"}, u"heading 1;");
    rtf.closeGroup();
    rtf.lineBreak();
}

void writeHeader(RtfStream &rtf, const Catalogue &catalogue)
{
    rtf.openGroup();
    rtf.controls({"rtf1", "ansi", "ansicpg1251", "deff0", "deflang1049"});
    writeTables(rtf);
    writeOptionalGroup(rtf, "generator", u"Riched20 5.50.99.2050;");
    rtf.openGroup();
    rtf.control("info");
    writeGroup(rtf, {"title"}, u"Каталог ископаемых родов: "_s + catalogue.heading);
    rtf.closeGroup();
    rtf.lineBreak();
    rtf.controls({"viewkind4", "uc1", "pard", "lang1049", "f0", "fs20"});
}

void endParagraph(RtfStream &rtf)
{
    rtf.control("par");
    rtf.lineBreak();
}

void writeHeading(RtfStream &rtf, const Catalogue &catalogue)
{
    rtf.controls({"pard", "qc", "sa120", HeadingColor, "b", "fs28"});
    rtf.text(catalogue.heading);
    rtf.controls({"cf0", "b0", "fs20"});
    endParagraph(rtf);

    rtf.controls({"pard", "sa120", "f1", "i"});
    rtf.text(QStringLiteral("Родов в файле: %1. После названия рода указано время его "
                            "существования \u2014 период и ярус, например K (Camp) \u2014 мел, "
                            "кампанский ярус; в скобках \u2014 номера работ в списках "
                            "литературы: \u00ab1\u2013400\u00bb, \u00ab401\u2013800\u00bb и "
                            "\u00ab801\u20131200\u00bb.")
                 .arg(catalogue.genusCount()));
    rtf.controls({"f0", "i0"});
    endParagraph(rtf);
}

void writeFamilyHeading(RtfStream &rtf, const FamilyEntry &family)
{
    if (family.newPage)
        rtf.control("page");
    rtf.controls({"pard", "keepn", "sb120", "sa60", FamilyColor, "b"});
    rtf.text(u"Семейство "_s + family.name);
    rtf.controls({"cf0", "b0"});
    endParagraph(rtf);
}

QString referenceText(const QList<int> &references)
{
    QStringList numbers;
    for (int number : references)
        numbers.append(QString::number(number));
    return u'(' + numbers.join(u", ") + u')';
}

void writeGenus(RtfStream &rtf, const GenusEntry &genus, bool tabbed)
{
    const auto separate = [&] {
        if (tabbed)
            rtf.control("tab");
        else
            rtf.text(u" ");
    };
    rtf.control("b");
    rtf.text(genus.name);
    rtf.control("b0");
    separate();
    rtf.text(stratigraphy::format(genus.range));
    separate();
    rtf.text(referenceText(genus.references));
    if (!genus.remark.isEmpty()) {
        rtf.text(u" ");
        writeGroup(rtf, {"i"}, genus.remark);
    }
    endParagraph(rtf);
}

// A made-up author and year, the same for a name every time (FNV-1a of its
// letters), for the entries of the rich form.
QString authorOf(const QString &name)
{
    static constexpr std::array<QStringView, 8> Authors = {
        u"Smith", u"Иванов", u"Moore", u"Петрова", u"Brown", u"Соколов", u"Nelson", u"Кузнецов"};
    std::uint32_t hash = 2166136261u;
    for (const QChar letter : name)
        hash = (hash ^ letter.unicode()) * 16777619u;
    return Authors[hash % Authors.size()].toString() + u", "_s +
           QString::number(1820 + hash / 8 % 190);
}

// A genus's paragraph in the rich form (EntryFormatting::Rich): its parts in
// groups of their own, some with the number of the editing session that
// wrote them, as word processors write them.
void writeRichGenus(RtfStream &rtf, const GenusEntry &genus, bool tabbed)
{
    int run = 0;
    const auto writeRun = [&](std::initializer_list<QByteArrayView> words, QStringView text) {
        rtf.openGroup();
        if (run++ % 3 == 0)
            rtf.control("insrsid" + QByteArray::number(4200000 + run * 131071));
        rtf.controls(words);
        rtf.text(text);
        rtf.closeGroup();
    };
    const auto separate = [&] {
        if (tabbed)
            rtf.control("tab");
        else
            rtf.text(u" ");
    };
    writeRun({"b", "f1", "cf2"}, genus.name);
    rtf.text(u" ");
    writeRun({"i"}, authorOf(genus.name));
    writeRun({"super"}, u"\u2020");
    separate();
    writeRun({"ul", "cf3"}, stratigraphy::format(genus.range));
    separate();
    writeRun({"f1", "fs18"}, referenceText(genus.references));
    if (!genus.remark.isEmpty()) {
        rtf.text(u" ");
        writeRun({"i"}, genus.remark);
    }
    endParagraph(rtf);
}

void writeFamily(RtfStream &rtf, const FamilyEntry &family, bool tabbed, EntryFormatting formatting)
{
    writeFamilyHeading(rtf, family);
    rtf.controls({"pard", "fi-284", "li284"});
    if (tabbed)
        rtf.controls({"tx2835", "tx5670"}); // range and references in columns
    const auto write = formatting == EntryFormatting::Rich ? writeRichGenus : writeGenus;
    for (const GenusEntry &genus : family.genera)
        write(rtf, genus, tabbed);
}

} // namespace

QByteArray writeCatalogue(const Catalogue &catalogue, EntryFormatting formatting)
{
    RtfStream rtf;
    writeHeader(rtf, catalogue);
    writeHeading(rtf, catalogue);
    for (const FamilyEntry &family : catalogue.families)
        writeFamily(rtf, family, catalogue.tabbed, formatting);
    rtf.closeGroup();
    rtf.lineBreak();
    return rtf.take();
}

} // namespace fosdat::sampledata
