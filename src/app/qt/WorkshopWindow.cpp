#include "app/qt/WorkshopWindow.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

#include "app/qt/AppIcon.h"
#include "app/qt/ModalBoxes.h"
#include "app/qt/WidgetText.h"
#include "app/qt/WorkshopBuilder.h"
#include "app/qt/WorkshopView.h"
#include "artwork/NeedleSheet.h"
#include "base/GaugeFacts.h"
#include "res/DialogTemplate.h"
#include "res/WorkshopControls.h"
#include "workshop/WorkshopLayout.h"

namespace {

QString Text(const std::string& utf8) {
    return QString::fromStdString(utf8);
}
std::string Utf8(const QString& text) {
    return text.toStdString();
}

// The key a list passes on to the workshop: turning or removing the chosen mark.
std::optional<EWorkshopKey> ListKey(int key) {
    switch (key) {
        case Qt::Key_Left:
            return EWorkshopKey::Left;
        case Qt::Key_Right:
            return EWorkshopKey::Right;
        case Qt::Key_Delete:
            return EWorkshopKey::Delete;
        default:
            return std::nullopt;
    }
}

}  // namespace

CWorkshopWindow::CWorkshopWindow(CWorkshop::HandOver handOver, QWidget* parent)
    : QWidget(parent, Qt::Window) {
    setWindowIcon(AppIcon());
    setAcceptDrops(true);
    m_byId = workshopbuilder::BuildControls(this);
    m_workshop = std::make_unique<CWorkshop>(*this, std::move(handOver));
    WireNotifications();
}

CWorkshopWindow::~CWorkshopWindow() = default;

QWidget* CWorkshopWindow::Control(int id) const {
    const auto it = m_byId.find(id);
    return it == m_byId.end() ? nullptr : it->second;
}

CWorkshopView* CWorkshopWindow::View(int id) const {
    return qobject_cast<CWorkshopView*>(Control(id));
}

void CWorkshopWindow::WireNotifications() {
    for (const auto& [id, widget] : m_byId) {
        const int control = id;
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            connect(button, &QAbstractButton::clicked, this,
                    [this, control] { m_workshop->OnCommand(control); });
        } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            connect(combo, &QComboBox::activated, this,
                    [this, control] { m_workshop->OnCommand(control); });
        } else if (auto* list = qobject_cast<QListWidget*>(widget)) {
            connect(list, &QListWidget::currentRowChanged, this, [this, control] {
                if (!m_quiet)
                    m_workshop->OnCommand(control);
            });
            list->installEventFilter(this);
        } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
            // Enter in the speed box adds the mark.
            connect(edit, &QLineEdit::returnPressed, this,
                    [this] { m_workshop->OnCommand(wsids::kAddMark); });
        } else if (auto* view = qobject_cast<CWorkshopView*>(widget)) {
            view->SetHandlers(
                [this, control](int w, int h) { m_workshop->OnViewSize(control, w, h); },
                [this, control](EPointer what, double x, double y) {
                    m_workshop->OnPointer(control, what, x, y);
                },
                [this, control](EWorkshopKey key) { return m_workshop->OnKey(control, key); });
        }
    }
}

void CWorkshopWindow::Open(const std::optional<std::string>& picture) {
    m_workshop->OnInit(picture);
    LayOutControls();
    // As large as a dial drawn three times its size needs, where the screen has the room.
    const workshoplayout::SSize least = {minimumWidth(), minimumHeight()};
    const artwork::SSheetLayout two = artwork::SheetLayout(gauge::kDialSide, gauge::kDialSide, 2);
    const artwork::SSheetLayout three = artwork::SheetLayout(gauge::kDialSide, gauge::kDialSide, 3);
    QSize size(least.width + three.width - two.width, least.height + three.height - two.height);
    if (const QScreen* s = screen()) {
        const QSize room = s->availableGeometry().size() * 9 / 10;
        size = size.boundedTo(room).expandedTo(QSize(least.width, least.height));
    }
    resize(size);
}

void CWorkshopWindow::LayOutControls() {
    workshoplayout::SMeasures measures;
    measures.lineHeight = fontMetrics().lineSpacing();
    measures.pixelScale = 1.0;  // Qt's own pixels are those of 96 DPI at any scale
    measures.natural = [this](int id) {
        const QSize hint = Control(id)->sizeHint();
        return workshoplayout::SSize{hint.width(), hint.height()};
    };
    const workshoplayout::SLayout layout = workshoplayout::LayOut(measures, {width(), height()});
    setMinimumSize(layout.minimum.width, layout.minimum.height);
    for (const auto& [id, r] : layout.controls)
        Control(id)->setGeometry(r.x, r.y, r.width, r.height);
}

// --- the host seam ---------------------------------------------------------------------

std::string CWorkshopWindow::GetText(int id) const {
    return widgettext::TextOf(Control(id));
}

void CWorkshopWindow::SetText(int id, const std::string& text) {
    widgettext::SetTextOf(Control(id), text);
}

void CWorkshopWindow::Enable(int id, bool enable) {
    Control(id)->setEnabled(enable);
}

void CWorkshopWindow::Show(int id, bool show) {
    Control(id)->setVisible(show);
}

void CWorkshopWindow::SetFocus(int id) {
    QWidget* widget = Control(id);
    widget->setFocus(Qt::OtherFocusReason);
    // What is typed replaces the box's text.
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        edit->selectAll();
}

int CWorkshopWindow::GetCheck(int id) const {
    auto* box = qobject_cast<QCheckBox*>(Control(id));
    return box != nullptr && box->isChecked() ? 1 : 0;
}

void CWorkshopWindow::SetCheck(int id, int state) {
    if (auto* box = qobject_cast<QCheckBox*>(Control(id)))
        box->setChecked(state != 0);
}

void CWorkshopWindow::SetItems(int id, const std::vector<std::string>& items) {
    m_quiet = true;
    QStringList list;
    for (const std::string& item : items)
        list << Text(item);
    if (auto* combo = qobject_cast<QComboBox*>(Control(id))) {
        combo->clear();
        combo->addItems(list);
        combo->setCurrentIndex(-1);
    } else if (auto* box = qobject_cast<QListWidget*>(Control(id))) {
        box->clear();
        box->addItems(list);
        box->setCurrentRow(-1);
    }
    m_quiet = false;
}

int CWorkshopWindow::GetSelection(int id) const {
    if (auto* combo = qobject_cast<QComboBox*>(Control(id)))
        return combo->currentIndex();
    if (auto* box = qobject_cast<QListWidget*>(Control(id)))
        return box->currentRow();
    return -1;
}

void CWorkshopWindow::SetSelection(int id, int index) {
    m_quiet = true;
    if (auto* combo = qobject_cast<QComboBox*>(Control(id)))
        combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
    else if (auto* box = qobject_cast<QListWidget*>(Control(id)))
        box->setCurrentRow(index >= 0 && index < box->count() ? index : -1);
    m_quiet = false;
}

void CWorkshopWindow::ShowPixels(int viewId, const SRgbaPicture& pixels) {
    if (CWorkshopView* view = View(viewId))
        view->ShowPixels(pixels);
}

void CWorkshopWindow::SetCaption(const std::string& text) {
    setWindowTitle(Text(text));
}

void CWorkshopWindow::MessageBox(const SMessage& message) {
    modalboxes::ShowMessage(this, message);
}

bool CWorkshopWindow::AskYesNo(const std::string& text) {
    return modalboxes::AskYesNo(this, text);
}

std::optional<std::string> CWorkshopWindow::FileDialog(const SFileDialogRequest& request) {
    return modalboxes::AskForFile(this, request);
}

// --- window events ---------------------------------------------------------------------

void CWorkshopWindow::resizeEvent(QResizeEvent*) {
    LayOutControls();
}

void CWorkshopWindow::changeEvent(QEvent* event) {
    // Another font (the desktop's setting) asks for another layout.
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        LayOutControls();
    QWidget::changeEvent(event);
}

void CWorkshopWindow::keyPressEvent(QKeyEvent* event) {
    // Escape drops a mark waiting for its speed, and else closes the window, which asks
    // first when there is something to lose.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        if (!m_workshop->OnKey(wsids::kCalibrationView, EWorkshopKey::Escape))
            close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void CWorkshopWindow::closeEvent(QCloseEvent* event) {
    if (!m_workshop->MayClose()) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

void CWorkshopWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls() && event->mimeData()->urls().front().isLocalFile())
        event->acceptProposedAction();
}

void CWorkshopWindow::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty() || !urls.front().isLocalFile())
        return;
    event->acceptProposedAction();
    m_workshop->OnDrop(Utf8(urls.front().toLocalFile()));
}

bool CWorkshopWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && watched == Control(wsids::kMarks)) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const std::optional<EWorkshopKey> passed = ListKey(key->key());
        if (passed && m_workshop->OnKey(wsids::kMarks, *passed))
            return true;
    }
    return QWidget::eventFilter(watched, event);
}
