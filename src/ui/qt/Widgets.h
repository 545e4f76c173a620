#pragma once
#include <QLabel>
#include <QString>

class QFont;
class QTreeWidget;
class QWidget;

namespace vedozer::qtui {

// A one-line label that shortens a long text in the middle with an ellipsis (paths keep their
// beginning and their file name); the whole text is its tooltip.
class ElidedLabel : public QLabel {
public:
    explicit ElidedLabel(QWidget* parent = nullptr);
    void setFullText(const QString& text);
    const QString& fullText() const { return m_full; }
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void elide();
    QString m_full;
};

// A page's heading: the system font, larger and bold.
QLabel* makeHeading(QWidget* parent, const char* objectName);
// A label that wraps and never cuts its words off.
QLabel* makeWrappingLabel(QWidget* parent, const char* objectName);
// A list whose one column (`elastic`) takes the room left; the others widen to what they hold
// after each fill, never narrower than the person made them.
void makeElasticColumn(QTreeWidget* list, int elastic);
void widenToContents(QTreeWidget* list, int elastic);
// Makes a shown window taller when what it holds no longer fits (a message appeared, wrapped
// lines grew): wrapped labels do not raise a window's minimum size on their own.
void growToContents(QWidget* window);

}  // namespace vedozer::qtui
