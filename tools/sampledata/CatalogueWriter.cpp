#include "CatalogueWriter.h"

#include "Catalogue.h"
#include "RtfStream.h"

#include <QStringList>
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

// The document's paragraphs, counted as a reader's text has them.
class Paragraphs
{
public:
    Paragraphs(RtfStream &rtf, QList<int> *genusLines) : m_rtf(rtf), m_genusLines(genusLines) {}

    void end()
    {
        m_rtf.control("par");
        m_rtf.lineBreak();
        ++m_line;
    }
    // A page break ends a paragraph too.
    void pageBreak()
    {
        m_rtf.control("page");
        ++m_line;
    }
    void markGenus()
    {
        if (m_genusLines)
            m_genusLines->append(m_line + 1);
    }

private:
    RtfStream &m_rtf;
    QList<int> *m_genusLines;
    int m_line = 0;
};

// "Класс Crinoidea", or in the real catalogues' shape "Класс Морские лилии
// (Crinoidea)".
void writeClassHeading(RtfStream &rtf, Paragraphs &paragraphs, const Catalogue &catalogue,
                       bool notes)
{
    rtf.controls({"pard", "qc", "sb120", HeadingColor, "b"});
    rtf.text(u"Класс "_s + (notes ? catalogue.classRussian + u" ("_s + catalogue.className + u')'
                                  : catalogue.className));
    rtf.controls({"cf0", "b0"});
    paragraphs.end();
}

void writeHeading(RtfStream &rtf, Paragraphs &paragraphs, const Catalogue &catalogue)
{
    rtf.controls({"pard", "qc", "sa120", HeadingColor, "b", "fs28"});
    rtf.text(catalogue.heading);
    rtf.controls({"cf0", "b0", "fs20"});
    paragraphs.end();

    rtf.controls({"pard", "sa120", "f1", "i"});
    rtf.text(QStringLiteral("Родов в файле: %1. После названия рода указано время его "
                            "существования \u2014 период и ярус, например K (Camp) \u2014 мел, "
                            "кампанский ярус; в скобках \u2014 номера работ в списках "
                            "литературы: \u00ab1\u2013400\u00bb, \u00ab401\u2013800\u00bb и "
                            "\u00ab801\u20131200\u00bb.")
                 .arg(catalogue.genusCount()));
    paragraphs.end();
    rtf.text(u"Обозначения: \u2020 \u2014 род вымер; ? перед названием \u2014 положение рода "
             u"сомнительно, в возрасте \u2014 возраст сомнителен; l, m, u \u2014 нижний, "
             u"средний, верхний отдел; Rec \u2014 род живёт ныне; = \u2014 синоним."_s);
    rtf.controls({"f0", "i0"});
    paragraphs.end();

    writeClassHeading(rtf, paragraphs, catalogue, catalogue.hasNotes(0));
}

void writeRankHeading(RtfStream &rtf, Paragraphs &paragraphs, const QString &text)
{
    rtf.controls({"pard", "keepn", "sb120", "sa60", FamilyColor, "b"});
    rtf.text(text);
    rtf.controls({"cf0", "b0"});
    paragraphs.end();
}

QString referenceText(const QList<int> &references)
{
    QStringList numbers;
    for (int number : references)
        numbers.append(QString::number(number));
    return u'(' + numbers.join(u", ") + u')';
}

// The note of an entry's order and family, in the real catalogues' shape.
QString taxonNote(const GenusEntry &genus, const FamilyEntry &family)
{
    switch (genus.note) {
    case TaxonNote::OrderAndFamily:
        return u"[отр. %1, сем. %2]:"_s.arg(family.order, family.name);
    case TaxonNote::InParentheses:
        return u"(отр. %1; сем. %2)"_s.arg(family.order, family.name);
    case TaxonNote::DoubtfulFamily:
        return u"[отр. %1, сем. ?%2]:"_s.arg(family.order, family.name);
    case TaxonNote::FamilyAlone:
        return u"[сем. %1]:"_s.arg(family.name);
    case TaxonNote::OrderAlone:
        return u"[отр. %1]:"_s.arg(family.order);
    }
    return {};
}

// "†Genus Author, 1900<tab>K (Camp)<tab>(12, 34) сем. Familyidae nom. dub."
// (without an author at times "Genus: K (Camp) (12)"), or in the real
// catalogues' shape "†Genus Author, 1900 [отр. Xida, сем.
// Xidae]: K (Camp) (12, 34). nom. dub."; in the rich form each part in a
// group of its own, formatted as `rich` says, some with the number of the
// editing session that wrote them, as word processors write them.
class GenusWriter
{
public:
    GenusWriter(RtfStream &rtf, const Catalogue &catalogue, EntryFormatting formatting)
        : m_rtf(rtf), m_catalogue(catalogue), m_rich(formatting == EntryFormatting::Rich)
    {
    }

    void write(Paragraphs &paragraphs, const GenusEntry &genus, const FamilyEntry &family,
               bool notes)
    {
        paragraphs.markGenus();
        m_runs = 0; // the parts of one entry
        m_tabbed = m_catalogue.tabbed && !notes;
        if (m_rich) {
            part({"b", "f1", "cf2"}, genus.mark + genus.name);
        } else {
            m_rtf.control("b");
            m_rtf.text(genus.mark + genus.name);
            m_rtf.control("b0");
        }
        if (!genus.author.isEmpty()) {
            m_rtf.text(u" ");
            part({"i"}, genus.author);
            // "Aus Walcott, 1912. K (Camp)": a dot after the year, in one
            // entry in five or so without notes; the author ends before it.
            if (!notes && genus.author.back().isDigit() && genus.name.size() % 5 == 1)
                m_rtf.text(u".");
        } else if (!notes && genus.name.size() % 3 == 0) {
            m_rtf.text(u":"); // "Aus: K (Camp) (12)", a third of the entries without an author
        }
        if (genus.control != 0) {
            m_rtf.control("u" + QByteArray::number(int(genus.control)));
            m_rtf.text(u"?"); // what readers without Unicode show, skipped by the others
        }
        if (notes) {
            m_rtf.text(u" ");
            part({"f1"}, taxonNote(genus, family));
        }
        separate();
        if (!genus.range.text.isEmpty()) {
            part({"ul", "cf3"}, genus.range.text);
            separate();
        }
        part({"f1", "fs18"}, referenceText(genus.references));
        if (notes)
            m_rtf.text(u".");
        else if (m_catalogue.annotated)
            m_rtf.text(u" сем. "_s + family.name);
        if (!genus.remark.isEmpty()) {
            m_rtf.text(u" ");
            writeGroup(m_rtf, {"i"}, genus.remark);
        }
        paragraphs.end();
        for (const QString &synonym : genus.synonyms) {
            m_rtf.text(u"= "_s + synonym);
            paragraphs.end();
        }
    }

private:
    void part(std::initializer_list<QByteArrayView> rich, QStringView text)
    {
        if (!m_rich) {
            m_rtf.text(text);
            return;
        }
        m_rtf.openGroup();
        if (m_runs++ % 3 == 0)
            m_rtf.control("insrsid" + QByteArray::number(4200000 + m_runs * 131071));
        m_rtf.controls(rich);
        m_rtf.text(text);
        m_rtf.closeGroup();
    }

    void separate()
    {
        if (m_tabbed)
            m_rtf.control("tab");
        else
            m_rtf.text(u" ");
    }

    RtfStream &m_rtf;
    const Catalogue &m_catalogue;
    const bool m_rich;
    bool m_tabbed = false;
    int m_runs = 0;
};

void writeFamily(RtfStream &rtf, Paragraphs &paragraphs, GenusWriter &genera,
                 const Catalogue &catalogue, qsizetype index)
{
    const FamilyEntry &family = catalogue.families[index];
    const bool notes = catalogue.hasNotes(index);
    if (!notes && !catalogue.annotated) {
        if (family.newPage)
            paragraphs.pageBreak();
        writeRankHeading(rtf, paragraphs,
                         (catalogue.doubtfulHeading(index) ? u"Семейство ?"_s : u"Семейство "_s) +
                             family.name);
    }
    rtf.controls({"pard", "fi-284", "li284"});
    if (catalogue.tabbed && !notes)
        rtf.controls({"tx2835", "tx5670"}); // range and references in columns
    for (const GenusEntry &genus : family.genera)
        genera.write(paragraphs, genus, family, notes);
}

} // namespace

QByteArray writeCatalogue(const Catalogue &catalogue, EntryFormatting formatting,
                          QList<int> *genusLines)
{
    RtfStream rtf;
    Paragraphs paragraphs(rtf, genusLines);
    GenusWriter genera(rtf, catalogue, formatting);
    writeHeader(rtf, catalogue);
    writeHeading(rtf, paragraphs, catalogue);
    QString order;
    for (qsizetype i = 0; i < catalogue.families.size(); ++i) {
        const FamilyEntry &family = catalogue.families[i];
        const bool notes = catalogue.hasNotes(i);
        if (notes) {
            if (i == catalogue.notesFrom && i > 0)
                writeClassHeading(rtf, paragraphs, catalogue, true);
        } else if (family.order != order) {
            order = family.order;
            writeRankHeading(rtf, paragraphs, u"Отряд "_s + order);
        }
        writeFamily(rtf, paragraphs, genera, catalogue, i);
    }
    rtf.closeGroup();
    rtf.lineBreak();
    return rtf.take();
}

} // namespace fosdat::sampledata
