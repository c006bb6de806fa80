#pragma once

#include <QString>

#include <array>
#include <optional>

class QWidget;

namespace store {
class RecordView;
}

// The printouts of the two report panels: the open jobs of a day as a
// six-column table with the open units per kind, and the work report as a
// three-column table. Both go through the printer dialog, ask at every page
// break, close each page with its number and draw the work report's totals
// picture beside the last page number.
namespace reports {

class PictureBox;

// The face and size the list printouts take from the settings ("RapFont",
// "RapSize", "RapBold", "RapItal"). Nothing is written by the program; a
// fresh installation has none of them.
struct ListFont {
    QString face;              // empty: the printer's own face
    std::optional<double> size; // only with a face, and only when "RapSize" is a usable number
    bool bold = false;
    bool italic = false;
};
ListFont ReadListFont();
// "True", "False" (any case) or a number, 0 being False; anything else is False.
bool SettingBoolean(const QString& text);
// A font size in points from its text ("10", "10.5", "10,5"); nothing for a
// text that is not a number or not a size a printer can use.
std::optional<double> SettingSize(const QString& text);

struct PendingListSource {
    QWidget* owner = nullptr;
    store::RecordView& DataMr;
    QString caption;                // the panel's caption, printed as the subtitle
    std::array<QString, 4> totals;  // the open units per kind, as the panel shows them
    const PictureBox* picture = nullptr;
    QString subject;                // names the printout's file: the panel's day
};
void PrintPendingList(const PendingListSource& source);

struct ReportListSource {
    QWidget* owner = nullptr;
    store::RecordView& DataRapor;
    QString caption; // the panel's caption: the period of the report
    const PictureBox* picture = nullptr;
};
void PrintReportList(const ReportListSource& source);

} // namespace reports
