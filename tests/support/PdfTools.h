#pragma once

#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

// The standard output of a tool of poppler-utils (pdftotext, pdfinfo...),
// empty when it failed.
inline QString runTool(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The number of pages pdfinfo gives a PDF file; -1 when it gives none.
inline int pdfPages(const QString &path)
{
    const QRegularExpressionMatch pages =
        QRegularExpression(QStringLiteral("^Pages:\\s+(\\d+)"), QRegularExpression::MultilineOption)
            .match(runTool(QStringLiteral("pdfinfo"), {path}));
    return pages.hasMatch() ? pages.captured(1).toInt() : -1;
}
