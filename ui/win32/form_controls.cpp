#include "form_controls.h"

#include "buttons.h"
#include "control_set.h"
#include "dialog_window.h"
#include "edits.h"
#include "label.h"
#include "main_window.h"
#include "progress_gauge.h"
#include "spin_edit.h"

namespace junmaru::win32 {
namespace {

using form::ControlId;
using form::ControlRow;
using form::Kind;

std::unique_ptr<FileDialog> MakeDialog(ControlId id) {
  const ControlRow& row = form::RowOf(id);
  return std::make_unique<FileDialog>(row.kind == Kind::kOpenDialog ? FileDialog::Mode::kOpen : FileDialog::Mode::kSave,
                                      form::DesignText(id), form::DesignFilters(id), row.file_name);
}

template <class Host>
SpinEdit* MakeSpin(Host& w, Box box, ControlId id) {
  const form::SpinDesign design = form::DesignSpin(id);
  SpinEdit* spin = w.template Add<SpinEdit>(box, form::RowOf(id).font_height, design.typing);
  spin->SetMinValue(design.minimum);
  spin->SetMaxValue(design.maximum);
  spin->SetIncrement(design.increment);
  spin->SetText(std::to_string(design.value));
  spin->SetSelectOnFocus(design.select_on_focus);
  return spin;
}

// The control of a row at its place in its window's client area (the main
// window's or a dialog's).
template <class Host>
Control* MakeControl(Host& w, const FormControls& c, ControlId id) {
  const ControlRow& row = form::RowOf(id);
  Box box{row.box.left, row.box.top, row.box.width, row.box.height};
  int room = 0;  // how far a check box may widen, to the inner edge of its group box
  for (std::uint16_t p = 0; p < id.index; ++p) {
    if (form::kControls[p].name != row.parent || !c.controls[p]) continue;
    const Box& group = c.controls[p]->Design();
    box.left += group.left;
    box.top += group.top;
    room = group.width - row.box.left - 2;
  }
  const int font = row.font_height;
  switch (row.kind) {
    case Kind::kLabel:
      return w.template Add<Label>(box, font, form::DesignText(id));
    case Kind::kPathText:
      return w.template Add<PathText>(box, font, form::DesignText(id));
    case Kind::kStatusLine:
      return w.template Add<StatusLine>(box, font, form::DesignText(id), form::kStatusLineRoom);
    case Kind::kGauge:
      return w.template Add<ProgressGauge>(box, font, form::AccessibleName(id));
    case Kind::kButton:
      return w.template Add<PushButton>(box, font, form::DesignText(id));
    case Kind::kGroupBox:
      return w.template Add<GroupBox>(box, font, form::DesignText(id));
    case Kind::kCheckBox:
      return w.template Add<CheckBox>(box, font, form::DesignText(id), row.checked, room);
    case Kind::kEdit: {
      Edit* edit = w.template Add<Edit>(box, font, form::DesignText(id));
      if (row.background) edit->SetBackground(*row.background);
      return edit;
    }
    case Kind::kSpinEdit:
      return MakeSpin(w, box, id);
    case Kind::kMemo: {
      Memo* memo = w.template Add<Memo>(box, font);
      memo->SetLines(form::DesignLines(id));
      return memo;
    }
    case Kind::kWindow:
    case Kind::kOpenDialog:
    case Kind::kSaveDialog:
    case Kind::kFamilyCheckBoxes:
      break;
  }
  return nullptr;
}

template <class Host>
void AddControl(Host& w, FormControls& c, ControlId id) {
  const ControlRow& row = form::RowOf(id);
  const std::string name = form::AccessibleName(id);
  if (!name.empty()) w.template Add<AccessibleName>(Box{}, row.font_height, name);
  c.controls[id.index] = MakeControl(w, c, id);
  if (!row.enabled) c.controls[id.index]->SetEnabled(false);
}

}  // namespace

void BuildControls(MainWindow& w, FormControls& c) {
  for (std::uint16_t i = 0; i < form::kControlCount; ++i) {
    const ControlId id{i};
    const ControlRow& row = form::RowOf(id);
    if (row.kind == Kind::kWindow) {
      if (!row.parent.empty())
        c.windows[i] = std::make_unique<DialogWindow>(w.Handle(), form::DesignText(id), row.box);
      continue;
    }
    if (row.kind == Kind::kOpenDialog || row.kind == Kind::kSaveDialog) {
      c.dialogs[i] = MakeDialog(id);
      continue;
    }
    const std::size_t window = form::RowIndex(form::WindowOf(row));
    if (c.windows[window])
      AddControl(*c.windows[window], c, id);
    else
      AddControl(w, c, id);
  }
  // Group boxes go beneath the controls they hold.
  for (std::uint16_t i = 0; i < form::kControlCount; ++i)
    if (form::kControls[i].kind == Kind::kGroupBox)
      SetWindowPos(c.controls[i]->Handle(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

}  // namespace junmaru::win32
