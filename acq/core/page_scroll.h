#pragma once

#include "acq/core/page_math.h"

#include <optional>

// The page scroll bar of one data panel and its page fields, without the widget: the panel's
// scroll bar mirrors this state and hands the user's moves back to setValue().
//
// Scroll position p stands for page start d = p - minimum. A value change runs the value-changed
// handler only while the bar is enabled; the handler clamps d (to receivedCount on the velocity
// panel, never on the flow-rate panel; never below 1) and sets the page fields. The caller then
// moves the chart window to one interval before sample d.
class PageScroll
{
public:
    // Whether the value-changed handler limits the page start to the samples received.
    enum class Limit { ReceivedCount, None };

    struct Bar
    {
        int minimum = PageMath::kScrollBase;
        int maximum = PageMath::kScrollBase;
        int value = PageMath::kScrollBase;
        int smallChange = 1;
        int largeChange = 1;
        bool enabled = false;
    };

    explicit PageScroll(Limit limit) : m_limit(limit) {}

    const Bar &bar() const { return m_bar; }
    int pagePoints() const { return m_pagePoints; }
    int pageStart() const { return m_pageStart; }
    int pageEnd() const { return m_pageEnd; }

    // sScrollBarG.
    void setEnabled(bool enable) { m_bar.enabled = enable; }

    // Sets the value, clamped into minimum..maximum. When it changed while the bar is enabled,
    // the value-changed handler runs; its page start is returned.
    std::optional<int> setValue(int value, int receivedCount);

    // The value-changed handler for the value as it stands; nothing while disabled.
    std::optional<int> valueChanged(int receivedCount);

    // Rebuild from the chart's points (pointCount samples, first point index firstIndex) with
    // `pagePoints` per page and the table's cursor row. fits is false when the run has fewer
    // samples than a page: the bar is then at its minimum and disabled, and the caller starts the
    // window one interval before sample 1. shown is the page start when the handler ran.
    struct Rebuild
    {
        bool fits = false;
        std::optional<int> shown;
    };
    Rebuild rebuild(int pointCount, int firstIndex, int pagePoints, int cursorRow,
                    int receivedCount);

    // Makes `row` part of the current page, moving the bar when it is enabled
    // (sChgScrollPosition). Returns the page start when the handler ran.
    std::optional<int> bringIntoPage(int row, int receivedCount);

    // The first page at the stop of a run: pageStart = firstIndex,
    // pageEnd = firstIndex + pagePoints (one more than a page; corrected by the first cursor move).
    void setFirstPage(int firstIndex, int pagePoints);

private:
    Limit m_limit;
    Bar m_bar;
    int m_pagePoints = 0;
    int m_pageStart = 0;
    int m_pageEnd = 0;
};
