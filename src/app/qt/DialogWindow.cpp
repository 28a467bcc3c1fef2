#include "app/qt/DialogWindow.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QAbstractItemView>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGroupBox>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QTimerEvent>
#include <QUrl>
#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "app/qt/AboutDialog.h"
#include "app/qt/AppIcon.h"
#include "app/qt/CSpinButton.h"
#include "app/qt/DialogBuilder.h"
#include "app/qt/ModalBoxes.h"
#include "app/qt/WidgetText.h"
#include "app/qt/WorkshopWindow.h"
#include "base/GaugeFacts.h"
#include "dial/PixelOps.h"
#include "host/HostRules.h"
#include "res/ControlIds.h"
#include "res/DialogTemplate.h"

namespace {

// The reader thread's notification, delivered on the user-interface thread.
const QEvent::Type kSerialNotification = static_cast<QEvent::Type>(QEvent::registerEventType());

QString Text(const std::string& utf8) {
    return QString::fromStdString(utf8);
}
std::string Utf8(const QString& text) {
    return text.toStdString();
}

void CopyPicture(const CImage& from, CImage& to) {
    to.Create(from.GetWidth(), from.GetHeight(), from.GetBPP(), from.HasAlpha());
    const size_t rowBytes = static_cast<size_t>(from.GetWidth()) * (from.GetBPP() / 8);
    for (int y = 0; y < from.GetHeight(); ++y) {
        std::memcpy(to.PixelAt(0, y), from.PixelAt(0, y), rowBytes);
    }
}

}  // namespace

CDialogWindow::CDialogWindow(SDialogServices services, QWidget* parent) : QDialog(parent) {
    const res::SDialogDef& dialog = res::MainDialog();
    // A resizable frame with a close box only: no minimise or maximise box.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setWindowTitle(Text(dialog.caption));
    setWindowIcon(AppIcon());
    setSizeGripEnabled(false);

    // Laid out in the units of the font in use, as Windows lays out a dialog template, and
    // widened where a text of this font would be cut: the widest number an entry shows too.
    m_units = dialogbuilder::UnitsOf(*this);
    m_controls = dialogbuilder::BuildControls(dialog, this, AppIcon(), m_units);
    m_units = res::WidenedToFit(m_units, dialogbuilder::TextRooms(m_controls, "000.0"));
    dialogbuilder::PlaceControls(dialog, m_controls, m_units);
    for (QWidget* widget : m_controls) {
        const int id = widget->property("controlId").toInt();
        if (id >= 0)
            m_byId[id] = widget;
    }
    m_templateSize = QSize(res::DluToPixelX(dialog.w, m_units), res::DluToPixelY(dialog.h, m_units));
    m_portListWidth = At(ids::kPortList)->width();
    resize(m_templateSize);
    // Narrower, the port list box would shrink by the whole difference and vanish.
    setMinimumSize(m_templateSize);

    m_systemMenu = new QMenu(this);
    QAction* workshop = m_systemMenu->addAction(Text(res::LoadString(res::kIdsDialWorkshop)));
    connect(workshop, &QAction::triggered, this, [this] { OnSysCommand(ids::kWorkshopCommand); });
    m_systemMenu->addSeparator();
    QAction* about = m_systemMenu->addAction(Text(res::LoadString(res::kIdsAboutBox)));
    connect(about, &QAction::triggered, this, [this] { OnSysCommand(ids::kAboutCommand); });

    // Pictures dropped on a dial's slot are taken as its Select takes a chosen one.
    setAcceptDrops(true);

    m_dialog = std::make_unique<CTillerbyDlg>(*this, std::move(services));
    m_end.Attach(m_dialog.get());
    WireNotifications();
    m_dialog->OnInitDialog();
}

CDialogWindow::~CDialogWindow() {
    // The dialog logic goes first: it may still close the port through the controls.
    m_dialog.reset();
}

void CDialogWindow::WireNotifications() {
    for (QWidget* widget : m_controls) {
        const int id = widget->property("controlId").toInt();
        if (id < 0)
            continue;
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            connect(button, &QAbstractButton::clicked, this,
                    [this, id] { m_dialog->OnCommand(id, Notify::Clicked); });
        } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            // Only the user's choices notify, not the dialog's own selections.
            connect(combo, &QComboBox::activated, this,
                    [this, id] { m_dialog->OnCommand(id, Notify::SelChange); });
        } else if (auto* spin = qobject_cast<CSpinButton*>(widget)) {
            spin->SetStepHandler(
                [this, id](int delta) { return m_dialog->OnSpinDeltaPos(id, delta); });
        }
    }
}

QWidget* CDialogWindow::Control(int id) const {
    const auto it = m_byId.find(id);
    return it == m_byId.end() ? nullptr : it->second;
}

QWidget* CDialogWindow::At(int id) const {
    QWidget* widget = Control(id);
    if (widget == nullptr)
        throw std::logic_error("no control with id " + std::to_string(id));
    return widget;
}

CSpinButton* CDialogWindow::Spin(int id) const {
    return qobject_cast<CSpinButton*>(Control(id));
}

CWorkshopWindow* CDialogWindow::Workshop() const {
    return m_workshop;
}

void CDialogWindow::OnSysCommand(int id) {
    if ((id & 0xFFF0) == ids::kWorkshopCommand) {
        if (!m_workshop) {
            // "Use in Kestran": the files taken as Select TAS Dial and Load take them.
            m_workshop = new CWorkshopWindow(
                [this](const std::string& dial, const std::string& table) {
                    return m_dialog->SelectDialFile(ids::kSelectTasDial, dial) &&
                           m_dialog->LoadTableFile(table);
                },
                this);
            m_workshop->setAttribute(Qt::WA_DeleteOnClose);
            m_workshop->Open(std::nullopt);
        }
        m_workshop->show();
        m_workshop->raise();
        m_workshop->activateWindow();
        return;
    }
    if ((id & 0xFFF0) != ids::kAboutCommand)
        return;
    CAboutDlg about(this);
    about.exec();
}

// --- texts, states and lists ---------------------------------------------------------

std::string CDialogWindow::GetWindowText(int id) const {
    return widgettext::TextOf(At(id));
}

void CDialogWindow::SetWindowText(int id, const std::string& text) {
    widgettext::SetTextOf(At(id), text);
}

bool CDialogWindow::IsWindowEnabled(int id) const {
    return At(id)->isEnabled();
}
void CDialogWindow::EnableWindow(int id, bool enable) {
    At(id)->setEnabled(enable);
}
void CDialogWindow::SetFocus(int id) {
    At(id)->setFocus(Qt::OtherFocusReason);
}

int CDialogWindow::GetFocus() const {
    for (QWidget* widget = focusWidget(); widget != nullptr && widget != this;
         widget = widget->parentWidget()) {
        const QVariant id = widget->property("controlId");
        if (id.isValid())
            return std::max(0, id.toInt());
    }
    return 0;
}

int CDialogWindow::GetCheck(int id) const {
    auto* box = qobject_cast<QCheckBox*>(At(id));
    return box != nullptr && box->isChecked() ? 1 : 0;
}

void CDialogWindow::SetCheck(int id, int state) {
    if (auto* box = qobject_cast<QCheckBox*>(At(id)))
        box->setChecked(state != 0);
}

namespace {
QComboBox* ComboAt(QWidget* widget) {
    auto* combo = qobject_cast<QComboBox*>(widget);
    if (combo == nullptr)
        throw std::logic_error("control is not a combo box");
    return combo;
}
}  // namespace

void CDialogWindow::ResetContent(int id) {
    ComboAt(At(id))->clear();
}

int CDialogWindow::AddString(int id, const std::string& text) {
    QComboBox* combo = ComboAt(At(id));
    const res::SControlDef* def = res::FindControl(id);
    int index = combo->count();
    if (def != nullptr && (def->style & res::kSorted) != 0) {
        index = hostrules::SortedInsertIndex(
            index, [combo](int i) { return Utf8(combo->itemText(i)); }, text);
    }
    const int selected = combo->currentIndex();
    combo->insertItem(index, Text(text));
    // Adding an item never selects one.
    if (selected < 0)
        combo->setCurrentIndex(-1);
    // The dropped list is as wide as its longest item, however narrow the box.
    const int frame = combo->style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
    const int scrollBar = combo->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    combo->view()->setMinimumWidth(
        std::max(combo->view()->minimumWidth(),
                 combo->fontMetrics().horizontalAdvance(Text(text)) + 4 * frame + scrollBar + 8));
    return index;
}

int CDialogWindow::GetCount(int id) const {
    return ComboAt(At(id))->count();
}
int CDialogWindow::GetCurSel(int id) const {
    return ComboAt(At(id))->currentIndex();
}

void CDialogWindow::SetCurSel(int id, int index) {
    QComboBox* combo = ComboAt(At(id));
    combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
}

void CDialogWindow::SetSel(int id, int start, int end) {
    auto* edit = qobject_cast<QLineEdit*>(At(id));
    if (edit == nullptr)
        return;
    if (start < 0) {
        edit->deselect();
        return;
    }
    const int length = static_cast<int>(edit->text().size());
    if (end < 0 || end > length)
        end = length;
    start = std::min(start, length);
    if (end < start)
        std::swap(start, end);
    edit->setSelection(start, end - start);
}

void CDialogWindow::SetProgressPos(int id, int pos) {
    if (auto* bar = qobject_cast<QProgressBar*>(At(id)))
        bar->setValue(std::clamp(pos, 0, 100));
}

void CDialogWindow::SetSpinRange(int id, int lower, int upper) {
    if (CSpinButton* spin = Spin(id))
        spin->SetRange(lower, upper);
}

void CDialogWindow::SetSpinPos(int id, int pos) {
    if (CSpinButton* spin = Spin(id))
        spin->SetPos(pos);
}

// --- modal dialogs -------------------------------------------------------------------

void CDialogWindow::MessageBox(const SMessage& message) {
    modalboxes::ShowMessage(this, message);
}

bool CDialogWindow::AskYesNo(const std::string& text) {
    return modalboxes::AskYesNo(this, text);
}

std::optional<std::string> CDialogWindow::FileDialog(const SFileDialogRequest& request) {
    return modalboxes::AskForFile(this, request);
}

// --- previews ------------------------------------------------------------------------

void CDialogWindow::RepaintNow() {
    m_previews.clear();
    repaint();
}

void CDialogWindow::DrawImage(const CImage& image, int x, int y) {
    if (image.IsNull())
        return;
    auto held = std::make_unique<SHeldPreview>();
    held->x = x;
    held->y = y;
    CopyPicture(image, held->picture);
    const QRect place = PreviewRect(*held);
    m_previews.push_back(std::move(held));
    repaint(place);
}

// The dialog places its previews in the template's pixels; this window's units follow its
// font, so a preview is placed and scaled through them.
QRect CDialogWindow::PreviewRect(const SHeldPreview& held) const {
    return PreviewPlace(held.x, held.y, held.picture.GetWidth(), held.picture.GetHeight());
}

QRect CDialogWindow::PreviewPlace(int x, int y, int w, int h) const {
    const res::SPixelRect r = res::TemplateToWindow(x, y, w, h, m_units);
    return {r.x, r.y, r.w, r.h};
}

void CDialogWindow::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    for (const auto& held : m_previews) {
        // Blended over the dialog's own background on a 32-bit surface laid out like the
        // dial buffers (blue, green, red, alpha), then scaled to its place.
        const CImage& picture = held->picture;
        QImage surface(picture.GetWidth(), picture.GetHeight(), QImage::Format_RGB32);
        surface.fill(palette().color(backgroundRole()));
        SSurface target{surface.bits(), surface.width(), surface.height(),
                        static_cast<int>(surface.bytesPerLine())};
        pixelops::Draw(picture, target, 0, 0);
        painter.drawImage(PreviewRect(*held), surface);
    }
}

// --- window events -------------------------------------------------------------------

void CDialogWindow::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    // Only the port list box follows the width of the window.
    QWidget* portList = At(ids::kPortList);
    portList->resize(
        hostrules::PortListWidth(m_portListWidth, m_templateSize.width(), this->width()),
        portList->height());
}

void CDialogWindow::keyPressEvent(QKeyEvent* event) {
    const bool plain = event->modifiers() == Qt::NoModifier ||
                       (event->modifiers() == Qt::KeypadModifier && event->key() == Qt::Key_Enter);
    if (plain && event->key() == Qt::Key_Escape) {
        if (m_end.MayEnd(EEndRequest::Cancel))
            reject();
        return;
    }
    if (plain && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        const int focus = GetFocus();
        if (hostrules::EnterClicksFocus(focus, focus != 0 && IsWindowEnabled(focus))) {
            qobject_cast<QAbstractButton*>(At(focus))->click();
        } else if (m_end.MayEnd(EEndRequest::Ok)) {
            accept();
        }
        return;
    }
    QDialog::keyPressEvent(event);
}

void CDialogWindow::closeEvent(QCloseEvent* event) {
    // The close box is IDCANCEL.
    if (!m_end.MayEnd(EEndRequest::Cancel)) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void CDialogWindow::SetTimer(int timerId, unsigned milliseconds) {
    KillTimer(timerId);
    m_timers[timerId] = startTimer(static_cast<int>(milliseconds));
}

void CDialogWindow::KillTimer(int timerId) {
    const auto it = m_timers.find(timerId);
    if (it == m_timers.end())
        return;
    killTimer(it->second);
    m_timers.erase(it);
}

void CDialogWindow::timerEvent(QTimerEvent* event) {
    const auto it = std::find_if(m_timers.begin(), m_timers.end(), [event](const auto& timer) {
        return timer.second == event->timerId();
    });
    if (it == m_timers.end()) {
        QDialog::timerEvent(event);
        return;
    }
    // The handler may kill or set timers: nothing of the map is held across it.
    const int id = it->first;
    if (!m_end.Ended())
        m_dialog->OnTimer(id);
}

void CDialogWindow::dragEnterEvent(QDragEnterEvent* event) {
    // Anything may be dropped: what is not a picture on a slot is refused with a message.
    event->acceptProposedAction();
}

void CDialogWindow::dropEvent(QDropEvent* event) {
    std::vector<std::string> paths;
    for (const QUrl& url : event->mimeData()->urls())
        paths.push_back(url.isLocalFile() ? Utf8(url.toLocalFile()) : std::string());
    if (paths.empty())
        paths.emplace_back();  // a text or a picture without a file
    event->acceptProposedAction();
    m_dialog->OnDropFiles(SlotAt(event->position().toPoint()), paths);
}

int CDialogWindow::SlotAt(const QPoint& point) const {
    for (const int button : {ids::kSelectIasDial, ids::kSelectTasDial}) {
        const auto [x, y] = m_dialog->PreviewOrigin(button);
        if (At(button)->geometry().contains(point) ||
            PreviewPlace(x, y, gauge::kDialSide, gauge::kDialSide).contains(point))
            return button;
    }
    return 0;
}

void CDialogWindow::contextMenuEvent(QContextMenuEvent* event) {
    m_systemMenu->exec(event->globalPos());
}

bool CDialogWindow::event(QEvent* event) {
    if (event->type() == kSerialNotification) {
        if (!m_end.Ended() && m_dialog)
            m_dialog->OnSerialData(1, 0);
        return true;
    }
    return QDialog::event(event);
}

void CDialogWindow::PostSerialNotification() {
    QCoreApplication::postEvent(this, new QEvent(kSerialNotification));
}

void CDialogWindow::done(int result) {
    // The workshop's marks are not lost without its question.
    if (m_workshop && !m_workshop->close())
        return;
    m_end.End();
    QDialog::done(result);
}
