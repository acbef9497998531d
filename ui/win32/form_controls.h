#pragma once

// Every control of the main window, by its design name, as Win32 child
// windows. BuildControls creates them with their design values.

#include <memory>

#include "buttons.h"
#include "dialogs.h"
#include "edits.h"
#include "label.h"
#include "progress_gauge.h"
#include "spin_edit.h"

namespace junmaru::win32 {

class MainWindow;

struct FormControls {
  // Top level.
  Label* Label1 = nullptr;
  PathText* PassRead = nullptr;
  PushButton* BtnRead = nullptr;
  Label* Label2 = nullptr;
  PathText* PassSave = nullptr;
  PushButton* BtnSave = nullptr;
  GroupBox* GroupBox3 = nullptr;
  GroupBox* GroupBox1 = nullptr;
  GroupBox* GroupBox2 = nullptr;
  GroupBox* GroupBox4 = nullptr;
  GroupBox* GBox = nullptr;
  Label* Label4 = nullptr;
  StatusLine* State = nullptr;
  ProgressGauge* Gauge = nullptr;
  PushButton* BtnGo = nullptr;

  // Log information.
  Label* Label6 = nullptr;
  Label* LogLine = nullptr;
  Label* Label5 = nullptr;
  Label* LogFirst = nullptr;
  Label* Label7 = nullptr;
  Label* LogLast = nullptr;

  // Range and number of places.
  SpinEdit* PStart = nullptr;
  Label* LogStart = nullptr;
  SpinEdit* PEnd = nullptr;
  Label* LogEnd = nullptr;
  Label* Label10 = nullptr;
  SpinEdit* PRank = nullptr;
  Label* Label11 = nullptr;

  // Extension categories: a checked box leaves its category out.
  CheckBox* CDouga = nullptr;
  CheckBox* COnsei = nullptr;
  CheckBox* CSyoko = nullptr;
  CheckBox* CJpeg = nullptr;
  CheckBox* CGazou = nullptr;
  CheckBox* CText = nullptr;
  CheckBox* CExe = nullptr;
  CheckBox* CHtml = nullptr;
  CheckBox* CCss = nullptr;
  CheckBox* CCgi = nullptr;

  // Page design.
  Label* Label3 = nullptr;
  Edit* CBG = nullptr;
  Label* Label9 = nullptr;
  Edit* CText1 = nullptr;
  Label* Label8 = nullptr;
  Edit* CBorder = nullptr;
  Label* Label12 = nullptr;
  Edit* CText2 = nullptr;
  Label* Label18 = nullptr;
  Edit* CLink = nullptr;
  Label* Label19 = nullptr;
  Edit* ALink = nullptr;
  Label* Label20 = nullptr;
  Edit* VLink = nullptr;
  Label* Label13 = nullptr;
  SpinEdit* FontSize = nullptr;
  Label* Label14 = nullptr;
  Label* Label15 = nullptr;
  Label* Label16 = nullptr;
  SpinEdit* NameMax = nullptr;
  Label* Label17 = nullptr;
  CheckBox* Link = nullptr;
  Label* Label21 = nullptr;
  Label* Label22 = nullptr;
  Edit* Prefix = nullptr;

  // Exclusion words.
  Memo* Marukin = nullptr;

  // Dialogs, shown only when a file is chosen.
  std::unique_ptr<FileDialog> OpenDialog;
  std::unique_ptr<FileDialog> SaveDialog;
};

// Creates every control in window (group boxes' contents at their place
// inside the box), with its design name, place, size, caption, value,
// limits, state and font. The controls that take the focus are created in
// the keyboard focus order, which is the order Tab follows.
void BuildControls(MainWindow& window, FormControls& c);

}  // namespace junmaru::win32
