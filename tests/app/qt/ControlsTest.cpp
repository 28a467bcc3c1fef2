// The main window's controls against the dialog template: ids, classes, captions, places,
// tab order, spin buddies and the behaviour on resizing.
#include <QComboBox>
#include <QProgressBar>
#include <QPushButton>
#include <algorithm>
#include <map>
#include <string>

#include "app/qt/WindowFixture.h"
#include "res/DialogTemplate.h"

namespace {

using res::ControlKind;

// Dialog units to pixels of the window's units, edge by edge, halves rounded up.
res::SDialogUnits units;
int PxX(int dlu) {
    return (2 * dlu * units.baseX + 4) / 8;
}
int PxY(int dlu) {
    return (2 * dlu * units.baseY + 8) / 16;
}

QRect Expected(const res::SControlDef& def) {
    return QRect(QPoint(PxX(def.x), PxY(def.y)),
                 QPoint(PxX(def.x + def.w) - 1, PxY(def.y + def.h) - 1));
}

const std::map<ControlKind, std::string> kClassOf = {
    {ControlKind::ComboBox, "QComboBox"},     {ControlKind::PushButton, "QPushButton"},
    {ControlKind::AutoCheckBox, "QCheckBox"}, {ControlKind::Static, "QLabel"},
    {ControlKind::GroupBox, "QGroupBox"},     {ControlKind::Edit, "QLineEdit"},
    {ControlKind::Spin, "CSpinButton"},       {ControlKind::Progress, "QProgressBar"},
};

bool IsFocusable(const res::SControlDef& def) {
    return (def.style & res::kTabStop) != 0;
}

}  // namespace

using ControlsTest = WindowFixture;

TEST_F(ControlsTest, EveryTemplateControlExistsWithItsClassAndCaption) {
    const auto& defs = res::MainDialog().controls;
    ASSERT_EQ(defs.size(), 220u);
    ASSERT_EQ(window->Controls().size(), 220u);
    EXPECT_EQ(window->windowTitle(), "Kestran V0.1");
    units = window->Units();
    EXPECT_EQ(window->size(), QSize(PxX(res::MainDialog().w), PxY(res::MainDialog().h)));

    for (size_t i = 0; i < defs.size(); ++i) {
        const res::SControlDef& def = defs[i];
        QWidget* w = window->Controls()[i];
        SCOPED_TRACE("control #" + std::to_string(i + 1) + " id " + std::to_string(def.id));
        if (def.id >= 0) {
            EXPECT_EQ(window->Control(def.id), w);
        }
        EXPECT_EQ(w->metaObject()->className(), kClassOf.at(def.kind));
        if (!def.caption.empty()) {
            const QVariant text = w->property(def.kind == ControlKind::GroupBox ? "title" : "text");
            EXPECT_EQ(text.toString(), QString::fromStdString(def.caption));
        }
        EXPECT_EQ(w->focusPolicy() != Qt::NoFocus, IsFocusable(def));
        if (auto* button = qobject_cast<QPushButton*>(w)) {
            EXPECT_FALSE(button->isDefault());
        }
    }
    EXPECT_FALSE(As<QComboBox>(ids::kPortList)->isEditable());
    EXPECT_FALSE(As<QComboBox>(ids::kMaxSpeedList)->isEditable());
    EXPECT_EQ(As<QProgressBar>(ids::kProgress)->maximum(), 100);
    EXPECT_EQ(As<QProgressBar>(ids::kProgress)->value(), 0);
}

TEST_F(ControlsTest, ControlsSitWhereTheTemplatePutsThem) {
    units = window->Units();
    const auto& defs = res::MainDialog().controls;
    for (size_t i = 0; i < defs.size(); ++i) {
        const res::SControlDef& def = defs[i];
        SCOPED_TRACE("control #" + std::to_string(i + 1) + " id " + std::to_string(def.id));
        const QRect actual = window->Controls()[i]->geometry();
        QRect expected = Expected(def);
        const bool isBuddy = i + 1 < defs.size() && defs[i + 1].kind == ControlKind::Spin;
        if (def.kind == ControlKind::Spin) {
            // Flush with the right edge of its buddy, as high as the buddy.
            const QRect buddy = Expected(defs[i - 1]);
            expected = QRect(buddy.right() + 1 - PxX(def.w), buddy.y(), PxX(def.w), buddy.height());
        } else if (isBuddy) {
            expected.setWidth(expected.width() - PxX(defs[i + 1].w));
        } else if (def.kind == ControlKind::ComboBox) {
            expected.setHeight(PxY(14));
        }
        EXPECT_EQ(actual, expected);
    }
    // The dial previews fit between the controls: IAS below its button, TAS above the
    // bottom edge.
    const QRect ias = window->PreviewPlace(30, 125, 230, 230);
    const QRect tas = window->PreviewPlace(30, 408, 230, 230);
    EXPECT_LE(W(ids::kIasCheck)->geometry().bottom(), ias.top());
    EXPECT_LE(W(ids::kSelectTasDial)->geometry().bottom(), tas.top());
    EXPECT_GE(W(ids::kSelectTasDial)->geometry().top(), ias.bottom());
    EXPECT_LE(tas.bottom(), window->height());
}

TEST_F(ControlsTest, EachSpinButtonTakesThePreviousEditBoxAsBuddy) {
    EXPECT_EQ(window->Spin(ids::kAngleSpin)->Buddy(), W(ids::kAngleBox));
    for (int k = 1; k <= ids::kEntryCount; ++k) {
        SCOPED_TRACE("entry " + std::to_string(k));
        CSpinButton* spin = window->Spin(ids::EntrySpinId(k));
        ASSERT_NE(spin, nullptr);
        EXPECT_EQ(spin->Buddy(), W(ids::EntryBoxId(k)));
        EXPECT_EQ(spin->geometry().left(), W(ids::EntryBoxId(k))->geometry().right() + 1);
    }
}

TEST_F(ControlsTest, TabVisitsTheTabStopsInTemplateOrder) {
    // Everything enabled, so that Tab skips nothing but the controls without a tab stop.
    for (QWidget* w : window->Controls())
        w->setEnabled(true);
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));

    std::vector<QWidget*> expected;
    const auto& defs = res::MainDialog().controls;
    for (size_t i = 0; i < defs.size(); ++i) {
        if (IsFocusable(defs[i]))
            expected.push_back(window->Controls()[i]);
    }
    ASSERT_EQ(expected.size(), 1u + 2 + 1 + 2 + 2 + 1 + 1 + 1 + 50 + 3);

    expected.front()->setFocus(Qt::OtherFocusReason);
    std::vector<QWidget*> visited{QApplication::focusWidget()};
    for (size_t i = 1; i <= expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited.push_back(QApplication::focusWidget());
    }
    expected.push_back(expected.front());  // and round again
    EXPECT_EQ(visited, expected);
}

TEST_F(ControlsTest, ResizingWidensAndNarrowsOnlyThePortListDownToTheTemplateSize) {
    std::vector<QRect> before;
    for (QWidget* w : window->Controls())
        before.push_back(w->geometry());
    const int portIndex = res::IndexOfControl(ids::kPortList);
    const QSize templateSize = window->size();

    // Wider, then back to a little wider than the template, then below it: the window stops
    // at the template's size, where the port list box is as the template has it.
    for (const QSize delta : {QSize(150, 40), QSize(60, 10), QSize(-120, -30)}) {
        window->resize(templateSize + delta);
        QCoreApplication::processEvents();
        const int widened = std::max(0, delta.width());
        EXPECT_EQ(window->width(), templateSize.width() + widened);
        for (size_t i = 0; i < before.size(); ++i) {
            QRect expected = before[i];
            if (static_cast<int>(i) == portIndex)
                expected.setWidth(expected.width() + widened);
            EXPECT_EQ(window->Controls()[i]->geometry(), expected) << "control #" << i + 1;
        }
    }
}
