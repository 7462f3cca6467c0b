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

private:
    mutable int m_digits = 0; // the width below was measured for this many digits
    mutable int m_width = 0;
    mutable QFont m_font;
};
