#pragma once

#include <QFont>
#include <QHeaderView>

// The row-number column of a data table. Its width follows the number of digits of the last row
// and is worked out from the font alone: a growing table never measures its row labels one by
// one (the stock header looks at two hundred of them whenever a row is added or hidden).
class RowNumberHeader : public QHeaderView
{
    Q_OBJECT
public:
    explicit RowNumberHeader(QWidget *parent = nullptr);

    QSize sizeHint() const override;

protected Q_SLOTS:
    // Takes the model's row insertions in place of QHeaderView's slot of the same name (the model
    // is connected to it by name): rows added at the end redraw the labels from there down, not
    // the whole column.
    void sectionsInserted(const QModelIndex &parent, int logicalFirst, int logicalLast);

private:
    mutable int m_digits = 0; // the width below was measured for this many digits
    mutable int m_width = 0;
    mutable QFont m_font;
};
