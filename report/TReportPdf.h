// The report's own PDF writer: the laid-out sheets as vector rectangles and lines with
// their texts in one 8-bit font that names the report face instead of embedding it.
#pragma once

#include <QByteArray>
#include <QString>

class QIODevice;
class TReportRenderer;

class TReportPdf {
public:
    QString Title;    // shown by PDF readers as the document's title
    QString Creator;  // the program that made the document

    // The whole report as a PDF document, one A4 page per sheet. When a sheet holds
    // anything this writer cannot show exactly (a character outside the face's code page,
    // a picture, a rotation), the whole document is written by QPdfWriter instead.
    QByteArray Document(const TReportRenderer& report) const;

    // Writes Document to a device open for writing; throws std::runtime_error when the
    // device takes less than all of it.
    void Write(const TReportRenderer& report, QIODevice& device) const;

    // Writes Document to the file, which is replaced only once all of it is written;
    // throws std::runtime_error naming the file when it cannot be written.
    void Save(const TReportRenderer& report, const QString& FileName) const;
};
