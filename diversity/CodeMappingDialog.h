#pragma once

#include <QDialog>
#include <QList>
#include <QString>

class QTableWidget;

namespace fosdat::strata
{
class TimeScale;
}

namespace fosdat::diversity
{

// An unknown code the counted entries write, and how many do.
struct UnknownCode {
    QString code;
    int entries = 0;
    QString suggestion; // the known code it most resembles; empty for none
};

// An unknown code to be counted as a known one.
struct CodeMapping {
    QString code;
    QString known;
};

// "Сопоставить коды": for each unknown code, the known code of the time
// scale it is to be counted as, the suggestion chosen at first, a code typed
// or picked from the scale's, or none. Says nothing of files: whoever opened
// it writes what was chosen.
class CodeMappingDialog : public QDialog
{
    Q_OBJECT

public:
    CodeMappingDialog(const QList<UnknownCode> &codes, const strata::TimeScale &scale,
                      QWidget *parent = nullptr);

    // The codes given a known code of the scale, in the table's order.
    QList<CodeMapping> mappings() const;

private:
    QTableWidget *m_table;
    QStringList m_known;
};

} // namespace fosdat::diversity
