#include "acq/ui/statistics_window.h"

#include "acq/core/acq_string_ids.h"
#include "acq/core/app_state.h"
#include "acq/ui/window_texts.h"
#include "common/ui/window_fonts.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

StatisticsWindow::StatisticsWindow(AppState &state, Source source, QWidget *parent)
    : QDialog(parent), m_state(state), m_source(std::move(source))
{
    setObjectName(QStringLiteral("frmStatistics"));
    setModal(false);
    m_grid = new QTableWidget(this);
    m_grid->setObjectName(QStringLiteral("grdStatistics"));
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionMode(QAbstractItemView::ContiguousSelection);
    m_grid->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_grid->setFocusPolicy(Qt::NoFocus); // the Copy button copies; no cell cursor to show
    m_copy = new QPushButton(this);
    m_copy->setObjectName(QStringLiteral("cmdCopy"));
    m_close = new QPushButton(this);
    m_close->setObjectName(QStringLiteral("cmdClose"));
    connect(m_copy, &QPushButton::clicked, this, &StatisticsWindow::copy);
    connect(m_close, &QPushButton::clicked, this, &QDialog::close);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_copy);
    buttons->addWidget(m_close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_grid);
    layout->addLayout(buttons);

    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &StatisticsWindow::refresh);
    fLoadRes();
}

void StatisticsWindow::fLoadRes()
{
    if (auto f = LanguageFont::fromTable(m_state.texts, m_state.languageOffset, m_state.fontChangeFlag))
        sApplyLanguageFont(this, *f);
    WindowTexts t(m_state);
    t.title(this, acqid::kStatisticsTitle);
    t.text(m_copy, acqid::kStatisticsCopy);
    t.text(m_close, acqid::kStatisticsClose);
    // The headings follow the language too.
    m_changed = true;
    if (isVisible())
        refresh();
}

void StatisticsWindow::markChanged()
{
    m_changed = true;
    if (!isVisible() || m_timer.isActive())
        return; // shown: refreshed when it appears; or a refresh is on its way
    const qint64 since = m_sinceRefresh.isValid() ? m_sinceRefresh.elapsed() : kRefreshMs;
    m_timer.start(int(qMax<qint64>(0, kRefreshMs - since)));
}

void StatisticsWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_changed)
        refresh();
}

void StatisticsWindow::refresh()
{
    m_timer.stop();
    m_changed = false;
    m_sinceRefresh.start();
    ++m_refreshes;
    m_table = m_source ? m_source() : RunStatistics::Table();
    const int columns = qMax(0, int(m_table.header.size()) - 1);
    m_grid->setColumnCount(columns);
    m_grid->setRowCount(int(m_table.rows.size()));
    m_grid->setHorizontalHeaderLabels(m_table.header.mid(1));
    QStringList names;
    for (int r = 0; r < m_table.rows.size(); ++r) {
        const QStringList &row = m_table.rows.at(r);
        names << row.value(0);
        for (int c = 0; c < columns; ++c) {
            QTableWidgetItem *item = m_grid->item(r, c);
            if (!item) {
                item = new QTableWidgetItem;
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
                m_grid->setItem(r, c, item);
            }
            item->setText(row.value(c + 1));
        }
    }
    m_grid->setVerticalHeaderLabels(names);
    // The whole table in view, without scrolling.
    int width = m_grid->verticalHeader()->sizeHint().width() + 2 * m_grid->frameWidth() + 2;
    for (int c = 0; c < columns; ++c)
        width += m_grid->horizontalHeader()->sectionSizeHint(c);
    int height = m_grid->horizontalHeader()->sizeHint().height() + 2 * m_grid->frameWidth() + 2;
    for (int r = 0; r < m_grid->rowCount(); ++r)
        height += m_grid->verticalHeader()->sectionSizeHint(r);
    m_grid->setMinimumWidth(width);
    if (m_grid->height() != height) {
        m_grid->setFixedHeight(height);
        adjustSize();
    }
}

void StatisticsWindow::copy()
{
    refresh(); // the figures as they are now
    QApplication::clipboard()->setText(m_table.text());
}
