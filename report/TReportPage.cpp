#include "report/TReportPage.h"

#include <stdexcept>

namespace {

template <typename Page, typename Result>
Result& FindElement(Page& page, const QString& name) {
    for (auto& band : page.Bands)
        for (auto& element : band.Elements)
            if (element.Name == name) return element;
    throw std::out_of_range("no report element " + name.toStdString());
}

}  // namespace

TReportElement& TReportPage::Element(const QString& name) {
    return FindElement<TReportPage, TReportElement>(*this, name);
}

const TReportElement& TReportPage::Element(const QString& name) const {
    return FindElement<const TReportPage, const TReportElement>(*this, name);
}

const TReportBand& TReportPage::BandOf(const QString& name) const {
    for (const auto& band : Bands)
        for (const auto& element : band.Elements)
            if (element.Name == name) return band;
    throw std::out_of_range("no report element " + name.toStdString());
}

TReportPage TReportPage::Prepared(const TDisplayTextSource& tables,
                                  const QString& DateText) const {
    TReportPage page = *this;
    for (auto& band : page.Bands)
        for (auto& element : band.Elements) {
            if (element.Kind == TElementKind::DataText)
                element.Text = tables ? tables(element.TableNumber, element.ColumnName) : QString();
            else if (element.Kind == TElementKind::Date)
                element.Text = DateText;
        }
    return page;
}
