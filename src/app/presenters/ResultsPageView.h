#pragma once
#include <string>
#include <vector>

#include "app/presenters/DesktopTypes.h"
#include "i18n/Captions.h"

namespace vedozer {

// One row of the results list, in the order the presenter shows them (sorted as chosen).
struct ResultRow {
    std::string name;      // "Spyware/Adware Found"
    std::string location;
    std::string type;
    KindIcon icon = KindIcon::None;
    bool checked = false;
    bool operator==(const ResultRow&) const = default;
};

// What became of one item of a removal or an exclusion, for the rows that need saying.
struct OutcomeRow {
    std::string item;
    std::string outcome;  // "Not removed", "Skipped", "Not excluded"
    std::string reason;
    bool operator==(const OutcomeRow&) const = default;
};

// The removal's bar and its two labels.
struct RemovalProgressView {
    bool visible = false;
    int percent = 0;
    std::string caption;  // "Removing : 40% Completed.", "100% Complete"
    std::string item;     // what is being removed now
    bool operator==(const RemovalProgressView&) const = default;
};

enum class ResultsAction { SelectAll, Delete, Exclude };
enum class ResultsColumn { Name = 0, Location = 1, Type = 2 };

// Clicks go to ResultsPagePresenter: a row's box -> rowChecked (the row as shown), Select All ->
// selectAllClicked, Delete -> deleteClicked, Exclude -> excludeClicked, a column header -> sortBy.
class ResultsPageView {
public:
    virtual ~ResultsPageView() = default;
    virtual void setCaption(CaptionId id, const std::string& text) = 0;  // CaptionGroup::ResultsPage
    virtual void showRows(const std::vector<ResultRow>& rows) = 0;
    // The one-line summary above the list ("10 threats, 18 traces").
    virtual void showSummary(const std::string& summary) = 0;
    // A text in place of the list when it is empty; "" shows the list.
    virtual void showEmptyText(const std::string& text) = 0;
    virtual void setActionEnabled(ResultsAction action, bool enabled) = 0;
    virtual void showSortIndicator(ResultsColumn column, bool ascending) = 0;
    virtual void showRemovalProgress(const RemovalProgressView& progress) = 0;
    // The items of the last removal or exclusion that did not get done; empty hides the list.
    virtual void showOutcomes(const std::vector<OutcomeRow>& outcomes) = 0;
    // Beside Delete: what removal needs that this program lacks (write access); "" hides it.
    virtual void showRemovalNote(const std::string&) {}
    // Column widths in twips (1/1440 inch: 15 per pixel at 96 DPI), column 1 first.
    virtual void setColumnWidths(const std::vector<int>& twips) = 0;
    virtual std::vector<int> columnWidths() const = 0;
};

// Conversions for the views' column widths.
int twipsToPixels(int twips, int dpi);
int pixelsToTwips(int pixels, int dpi);

}  // namespace vedozer
