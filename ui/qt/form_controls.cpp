#include "form_controls.h"

#include <QDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <limits>

#include "check_box.h"
#include "colour_ref.h"
#include "control_set.h"
#include "file_dialog.h"
#include "group_box.h"
#include "label.h"
#include "memo.h"
#include "progress_gauge.h"
#include "push_button.h"
#include "spin_edit.h"
#include "status_line.h"
#include "widget_text.h"

namespace junmaru::window {
namespace {

using form::ControlId;
using form::ControlRow;
using form::Kind;

// The window font's height; a control of another height gets a font of its own.
constexpr int kWindowFontHeight = 12;

void SetFontHeight(QWidget* widget, int pixels) {
  QFont font = widget->font();
  font.setPixelSize(pixels);
  widget->setFont(font);
}

// A path display: white, sunken, fixed size.
Label* MakePathText(QWidget* parent, ControlId id) {
  auto* label = new Label(parent, Label::Width::kFixed);
  label->setText(Ui(form::DesignText(id)));
  label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  label->setLineWidth(1);
  label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  label->setAutoFillBackground(true);
  QPalette colours = label->palette();
  colours.setColor(QPalette::Window, Qt::white);
  label->setPalette(colours);
  return label;
}

// A caption that the stand-in face draws wider than the design's face
// would be cut off; such a box reaches as far as its caption needs, up to
// the inner edge of its group box.
CheckBox* MakeCheck(QWidget* parent, ControlId id) {
  const ControlRow& row = form::RowOf(id);
  auto* check = new CheckBox(Ui(form::DesignText(id)), parent);
  check->setChecked(row.checked);
  return check;
}

void WidenToCaption(CheckBox* check, const ControlRow& row) {
  const int room = check->parentWidget()->contentsRect().right() + 1 - row.box.left;
  if (check->sizeHint().width() > row.box.width)
    check->resize(std::min(check->sizeHint().width(), room), row.box.height);
}

QLineEdit* MakeEdit(QWidget* parent, ControlId id) {
  auto* edit = new QLineEdit(Ui(form::DesignText(id)), parent);
  edit->setMaxLength(std::numeric_limits<int>::max());  // free text without limit
  const ControlRow& row = form::RowOf(id);
  if (row.background) SetBaseColour(edit, *row.background);
  // The style's grey for disabled text nearly vanishes on the grey of a
  // disabled edit; this grey reads at a contrast of 5 : 1 on it.
  QPalette colours = edit->palette();
  colours.setColor(QPalette::Disabled, QPalette::Text, QColor(0x50, 0x50, 0x50));
  edit->setPalette(colours);
  return edit;
}

// A spin edit's limits, increment and value, once it stands at its place.
void SetUpSpin(SpinEdit* spin, ControlId id) {
  const form::SpinDesign design = form::DesignSpin(id);
  spin->SetMinValue(design.minimum);
  spin->SetMaxValue(design.maximum);
  spin->SetIncrement(design.increment);
  spin->SetText(std::to_string(design.value));
  spin->SetSelectOnFocus(design.select_on_focus);
}

std::unique_ptr<FileDialog> MakeDialog(ControlId id) {
  const ControlRow& row = form::RowOf(id);
  return std::make_unique<FileDialog>(row.kind == Kind::kOpenDialog ? FileDialog::Mode::kOpen : FileDialog::Mode::kSave,
                                      form::DesignText(id), form::DesignFilters(id), row.file_name);
}

// A dialog of the table: made at the start, hidden, so that its controls
// hold their values from the start to the close; centred over its owner
// when shown.
QDialog* MakeDialogWindow(QWidget* owner, ControlId id) {
  const ControlRow& row = form::RowOf(id);
  auto* dialog = new QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                        Qt::WindowCloseButtonHint);
  dialog->setWindowTitle(Ui(form::DesignText(id)));
  dialog->setFont(owner->font());
  dialog->setPalette(owner->palette());
  dialog->setAutoFillBackground(true);
  dialog->setFixedSize(row.box.width, row.box.height);
  dialog->setModal(true);
  return dialog;
}

// The widget of a row, in parent; nothing for the main window or a file dialog.
QWidget* MakeWidget(QWidget* parent, ControlId id) {
  switch (form::RowOf(id).kind) {
    case Kind::kLabel:
      return new Label(parent);
    case Kind::kPathText:
      return MakePathText(parent, id);
    case Kind::kStatusLine:
      return new StatusLine(parent, form::kStatusLineRoom);
    case Kind::kGauge:
      return new ProgressGauge(parent);
    case Kind::kButton:
      return new PushButton(Ui(form::DesignText(id)), parent);
    case Kind::kGroupBox:
      return new GroupBox(Ui(form::DesignText(id)), parent);
    case Kind::kCheckBox:
      return MakeCheck(parent, id);
    case Kind::kEdit:
      return MakeEdit(parent, id);
    case Kind::kSpinEdit:
      return new SpinEdit(parent, form::RowOf(id).spin.typing);
    case Kind::kMemo:
      return new Memo(parent);
    case Kind::kWindow:
      if (!form::RowOf(id).parent.empty()) return MakeDialogWindow(parent, id);
      break;
    case Kind::kOpenDialog:
    case Kind::kSaveDialog:
    case Kind::kFamilyCheckBoxes:
      break;
  }
  return nullptr;
}

// What a screen reader announces for a control whose own text does not
// name it, also on the inner edit of a spin edit, where the focus goes.
void Name(QWidget* widget, ControlId id) {
  const std::string name = form::AccessibleName(id);
  if (name.empty()) return;
  widget->setAccessibleName(Ui(name));
  if (auto* spin = qobject_cast<SpinEdit*>(widget)) spin->Editor()->setAccessibleName(Ui(name));
}

}  // namespace

FormControls::FormControls() = default;
FormControls::~FormControls() = default;

void SetBaseColour(QWidget* widget, std::uint32_t colour_ref) {
  QPalette colours = widget->palette();
  for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    colours.setColor(group, QPalette::Base, ColourOf(colour_ref));
  }
  widget->setPalette(colours);
}

void BuildControls(QWidget* form, FormControls& c) {
  for (std::uint16_t i = 0; i < form::kControlCount; ++i) {
    const ControlId id{i};
    const ControlRow& row = form::RowOf(id);
    if (row.kind == Kind::kWindow && row.parent.empty()) continue;  // the form itself
    if (row.kind == Kind::kOpenDialog || row.kind == Kind::kSaveDialog) {
      c.dialogs[i] = MakeDialog(id);
      continue;
    }
    QWidget* parent = form;
    for (std::uint16_t p = 0; p < i; ++p)
      if (form::kControls[p].name == row.parent && c.widgets[p]) parent = c.widgets[p];
    QWidget* widget = MakeWidget(parent, id);
    c.widgets[i] = widget;
    widget->setObjectName(QString::fromLatin1(row.name.data(), static_cast<int>(row.name.size())));
    if (row.kind == Kind::kWindow) continue;
    widget->setGeometry(row.box.left, row.box.top, row.box.width, row.box.height);
    if (auto* spin = qobject_cast<SpinEdit*>(widget)) SetUpSpin(spin, id);
    if (row.font_height != kWindowFontHeight) SetFontHeight(widget, row.font_height);
    if (auto* label = qobject_cast<Label*>(widget); label && row.kind != Kind::kPathText)
      label->SetCaption(form::DesignText(id));  // its width follows the text in its own font
    if (auto* check = qobject_cast<CheckBox*>(widget)) WidenToCaption(check, row);
    if (auto* memo = qobject_cast<Memo*>(widget)) memo->SetLines(form::DesignLines(id));
    if (!row.enabled) widget->setEnabled(false);
    Name(widget, id);
    // A label's "&" letter moves the focus to the control it names.
    if (const std::size_t label = form::RowIndex(row.named_by);
        label < form::kControlCount && std::string_view(form::kControls[label].caption).find('&') != std::string_view::npos)
      static_cast<Label*>(c.widgets[label])->setBuddy(widget);
  }
  // Each window's keyboard focus order, which Tab and Shift+Tab follow.
  for (const ControlRow& window : form::kControls) {
    if (window.kind != Kind::kWindow) continue;
    const QWidget* previous = nullptr;
    for (ControlId id : form::FocusOrder(window.name)) {
      QWidget* widget = c.widgets[id.index];
      if (previous) QWidget::setTabOrder(const_cast<QWidget*>(previous), widget);
      previous = widget;
    }
  }
}

}  // namespace junmaru::window
