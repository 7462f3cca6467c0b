#include "link/core/download_session.h"

#include "common/core/status_codes.h"
#include "link/core/csv_file_name.h"
#include "link/core/csv_writer.h"
#include "link/core/download_view.h"
#include "link/core/link_port.h"
#include "link/core/link_state.h"
#include "link/core/link_status.h"
#include "link/core/record_decoder.h"
#include "link/core/record_grid.h"

#include <QFileInfo>

DownloadSession::DownloadSession(LinkState &state, RecordGrid &grid, RecordDecoder &decoder,
                                 DownloadView &view, LinkPort &port, QObject *parent)
    : QObject(parent), m_state(state), m_grid(grid), m_decoder(decoder), m_view(view),
      m_port(port), m_clock([] { return QDateTime::currentDateTime(); })
{
    m_tmrGetData.setObjectName(QStringLiteral("tmrGetData"));
    m_tmrGetData.setInterval(kTickMs);
    connect(&m_tmrGetData, &QTimer::timeout, this, &DownloadSession::tmrGetData_Timer);
    m_port.onReceived = [this](const QByteArray &bytes) { onReceived(bytes); };
    m_port.onLineFault = [this] { onLineFault(); };
}

DownloadSession::~DownloadSession()
{
    m_port.onReceived = nullptr;
    m_port.onLineFault = nullptr;
}

bool DownloadSession::isBusy() const
{
    return m_state.idle != 1;
}

QString DownloadSession::portForInstrument(const LinkState &state, const QString &serial)
{
    if (serial.isEmpty())
        return QString();
    for (int slot = PortTables::kFirstSlot; slot <= PortTables::kLastSlot; ++slot) {
        if (state.ports.gSerialNos[size_t(slot)] == serial)
            return state.ports.gPortNames[size_t(slot)].trimmed();
    }
    return QString();
}

void DownloadSession::smInit()
{
    m_decoder.reset();
    m_queue.clear();
    m_receiving = false;
    m_port.fRsClose();
}

void DownloadSession::cmdMeasuring_Click()
{
    if (isBusy())
        return;
    // A new download starts with a clean code, so no earlier error is shown for it.
    m_state.gLinkStatus = 0;
    if (!m_view.reselectDrive())
        return;

    m_view.setStatusLine(m_state.statusTexts[1]);
    m_state.idle = 0;
    m_view.setDownloading(true);
    m_view.clearProgress();
    m_sinceDump.invalidate();
    m_saved = false;
    const quint64 generation = ++m_startGeneration;

    QString name = m_view.fileNameText();
    if (name.isEmpty()) {
        m_state.gLinkStatus = linkstatus::kFileName;
        sStopMeasu();
        return;
    }
    const qint16 checked =
        CsvFileName::fmCheckFile(m_state, m_view.folderPath(), &name, &m_targetPath);
    m_view.setFileNameText(name);
    if (checked != status::kSuccess || generation != m_startGeneration) {
        if (generation == m_startGeneration)
            sStopMeasu();
        return;
    }

    // A folder that refuses new files is reported now, not after the whole dump.
    if (!QFileInfo(m_view.folderPath()).isWritable()) {
        m_state.gLinkStatus = linkstatus::kSaveFile;
        sStopMeasu();
        return;
    }

    smInit();
    const QString serial = m_view.chosenInstrument();
    const QString port = serial.isEmpty() ? QString()
                         : m_resolver      ? m_resolver(serial)
                                           : portForInstrument(m_state, serial);
    if (port.isEmpty()) {
        sStopMeasu();
        return;
    }

    qint16 result = m_port.fRsAutoConnect(port);
    if (generation != m_startGeneration || !isBusy())
        return; // stopped while the probe ran (the window was closed)
    m_state.gLinkStatus = result;
    if (result == status::kSuccess) {
        // A unit reply that cannot be taken apart ends the start here; the grid is empty and
        // the code is still -10000, so the user sees "No Data!".
        if (m_decoder.smGetUnit(m_port.unitReply())) {
            result = m_port.fRsStartRead();
            m_state.gLinkStatus = result;
            if (result == status::kSuccess) {
                m_receiving = true;
                m_sinceByte.start();
                m_sinceDump.start();
                m_view.showProgress(progress(DownloadProgress::Stage::Receiving));
                m_tmrGetData.setInterval(m_tickMs);
                m_tmrGetData.start();
                return;
            }
        }
    }
    sStopMeasu();
}

void DownloadSession::onReceived(const QByteArray &bytes)
{
    if (!m_receiving || bytes.isEmpty())
        return;
    m_queue.takeBytes(bytes);
    m_state.gLinkStatus = status::kSuccess;
    m_sinceByte.start();
}

void DownloadSession::onLineFault()
{
    if (!m_receiving)
        return;
    m_receiving = false;
    // Every line that came is shown, none after a last line; nothing is saved.
    if (const std::optional<QString> last = moveLinesToGrid(-1))
        m_decoder.smViewData(*last);
    m_state.gLinkStatus = linkstatus::kCommunication;
    sStopMeasu();
}

void DownloadSession::tmrGetData_Timer()
{
    // A tick that shows a message runs the event loop inside; the next ticks wait for it.
    if (m_inTick || !m_tmrGetData.isActive())
        return;
    m_inTick = true;
    struct Leave
    {
        bool &flag;
        ~Leave() { flag = false; }
    } leave{m_inTick};

    if (m_state.gLinkStatus != status::kSuccess) {
        m_state.gLinkStatus = linkstatus::kCommunication;
        sStopMeasu();
        return;
    }
    // The watchdog: the dump has stopped flowing.
    if (m_queue.isEmpty() && m_sinceByte.isValid() && m_sinceByte.elapsed() >= m_watchdogMs) {
        m_state.gLinkStatus = linkstatus::kCommunication;
        sStopMeasu();
        return;
    }

    const std::optional<QString> last = moveLinesToGrid(m_budgetMs);
    if (!last) {
        m_view.showProgress(progress(DownloadProgress::Stage::Receiving));
        return;
    }
    // The file is written before the last line is shown, so that line is not in it. A failed
    // save leaves code 8, which sStopMeasu shows once.
    if (CsvWriter::smSaveData(m_state, m_grid, m_targetPath, m_clock()) == status::kSuccess) {
        m_saved = true;
        DownloadProgress done = progress(DownloadProgress::Stage::Saved);
        done.path = m_targetPath;
        m_view.showProgress(done);
    }
    m_view.sFileList();
    sStopMeasu();
    if (!last->isEmpty())
        m_decoder.smViewData(*last);
}

std::optional<QString> DownloadSession::moveLinesToGrid(qint64 budgetMs)
{
    if (m_queue.isEmpty())
        return std::nullopt;
    QElapsedTimer spent;
    spent.start();
    // One redraw for the lines of a tick.
    GridRedrawPause pause(m_grid);
    do {
        QString line = m_queue.fInputs();
        if (line.endsWith(QLatin1Char('/')))
            return line;
        if (!line.isEmpty())
            m_decoder.smViewData(line);
    } while (!m_queue.isEmpty() && (budgetMs < 0 || spent.elapsed() < budgetMs));
    return std::nullopt;
}

DownloadProgress DownloadSession::progress(DownloadProgress::Stage stage) const
{
    DownloadProgress p;
    p.stage = stage;
    p.lines = m_queue.received();
    p.readings = m_decoder.readings();
    p.elapsedMs = m_sinceDump.isValid() ? m_sinceDump.elapsed() : 0;
    return p;
}

void DownloadSession::sStopMeasu()
{
    if (m_stopping)
        return;
    m_stopping = true;
    ++m_startGeneration; // a probe still running returns into a finished start
    m_tmrGetData.stop();
    m_receiving = false;
    m_port.abort();

    m_view.setDownloading(false);
    m_state.idle = 1;
    m_view.setStatusLine(m_state.statusTexts[0]);
    if (m_sinceDump.isValid() && !m_saved)
        m_view.showProgress(progress(DownloadProgress::Stage::Stopped));
    m_sinceDump.invalidate();

    m_view.sFileList();
    // A failed close is reported only when nothing else went wrong first: the first failure is
    // the one the user needs to see.
    const qint16 before = m_state.gLinkStatus;
    const qint16 closed = m_port.fRsClose();
    m_state.gLinkStatus =
        closed != status::kSuccess && !linkstatus::hasMessage(before) ? closed : before;

    if (m_grid.rowCount() == 0) {
        {
            GridRedrawPause pause(m_grid);
            m_grid.setRowCount(1);
            for (int c = 1; c <= 7; ++c)
                m_grid.setCell(1, c, QString());
        }
        if (m_state.gLinkStatus == status::kSuccess) {
            m_state.gLinkStatus = linkstatus::kNoData;
            m_stopping = false;
            Q_EMIT stopped();
            linkstatus::sShowLinkStatus(m_state);
            return;
        }
    }
    m_stopping = false;
    Q_EMIT stopped();
    if (m_state.gLinkStatus != status::kSuccess && m_state.gLinkStatus != linkstatus::kNoData)
        linkstatus::sShowLinkStatus(m_state);
}
