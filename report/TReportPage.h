// The report page as data: bands of named elements laid out in millimetres.
#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

enum class TElementKind {
    Frame,     // thin black outline, white inside, under the texts of its band
    Text,      // a fixed or copied text
    DataText,  // display text of a column of a table's current row, read when prepared
    Memo,      // lines one below the other with a rule under them; grows downward
    Date,      // the date on which the page is prepared
    Picture,   // an image scaled into its box
};

struct TReportElement {
    QString Name;
    TElementKind Kind = TElementKind::Text;
    double LeftMm = 0;  // from the band's left edge
    double TopMm = 0;   // from the band's top edge
    double WidthMm = 0;   // frames, pictures and memos; for texts the room they may take
    double HeightMm = 0;  // frames and pictures
    double FontPt = 10;
    QString Text;
    QStringList Lines;    // memo
    int TableNumber = 0;  // data text: table 1..5 of the language's set
    QString ColumnName;   // data text
    QImage Image;         // picture
    bool Enabled = true;  // a disabled element is left out of the page
};

enum class TBandKind { PageHeader, Title, Detail };

struct TReportBand {
    QString Name;
    TBandKind Kind = TBandKind::Detail;
    double TopMm = 0;  // designed place below the top margin
    double HeightMm = 0;
    std::vector<TReportElement> Elements;
};

// Display text of a column of table n's current row; empty for a missing column.
using TDisplayTextSource = std::function<QString(int TableNumber, const QString& ColumnName)>;

// A4 portrait, 10 mm margins, one column; bands in page order.
class TReportPage {
public:
    static constexpr double PaperWidthMm = 210.0;
    static constexpr double PaperHeightMm = 297.0;
    static constexpr double MarginMm = 10.0;
    static constexpr double BandWidthMm = 190.0;
    static constexpr double DefaultFontPt = 10.0;

    std::vector<TReportBand> Bands;

    // The element of that name in any band; throws std::out_of_range when there is none.
    TReportElement& Element(const QString& name);
    const TReportElement& Element(const QString& name) const;

    // The band that holds the element of that name.
    const TReportBand& BandOf(const QString& name) const;

    // A copy ready to print: data texts read from tables now, dates set to DateText.
    TReportPage Prepared(const TDisplayTextSource& tables, const QString& DateText) const;
};
