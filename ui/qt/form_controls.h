#pragma once

// Every control of the main window, by its design name. BuildControls
// creates them with their design values; the window class inherits these
// fields so that its handlers use the names directly.

#include <cstdint>
#include <memory>

class QGroupBox;
class QLineEdit;
class QPushButton;
class QWidget;

namespace junmaru::window {

class CheckBox;
class FileDialog;
class Label;
class Memo;
class ProgressGauge;
class SpinEdit;
class StatusLine;

struct FormControls {
  FormControls();
  ~FormControls();

  // Top level.
  Label* Label1 = nullptr;
  Label* PassRead = nullptr;
  QPushButton* BtnRead = nullptr;
  Label* Label2 = nullptr;
  Label* PassSave = nullptr;
  QPushButton* BtnSave = nullptr;
  QGroupBox* GroupBox3 = nullptr;
  QGroupBox* GroupBox1 = nullptr;
  QGroupBox* GroupBox2 = nullptr;
  QGroupBox* GroupBox4 = nullptr;
  QGroupBox* GBox = nullptr;
  Label* Label4 = nullptr;
  StatusLine* State = nullptr;
  ProgressGauge* Gauge = nullptr;
  QPushButton* BtnGo = nullptr;

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
  QLineEdit* CBG = nullptr;
  Label* Label9 = nullptr;
  QLineEdit* CText1 = nullptr;
  Label* Label8 = nullptr;
  QLineEdit* CBorder = nullptr;
  Label* Label12 = nullptr;
  QLineEdit* CText2 = nullptr;
  Label* Label18 = nullptr;
  QLineEdit* CLink = nullptr;
  Label* Label19 = nullptr;
  QLineEdit* ALink = nullptr;
  Label* Label20 = nullptr;
  QLineEdit* VLink = nullptr;
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
  QLineEdit* Prefix = nullptr;

  // Exclusion words.
  Memo* Marukin = nullptr;

  // Dialogs, shown only when a file is chosen.
  std::unique_ptr<FileDialog> OpenDialog;
  std::unique_ptr<FileDialog> SaveDialog;
};

// Creates every control as a child of form (or of its group box), with its
// design name, place, size, caption, value, limits, state and focus order.
void BuildControls(QWidget* form, FormControls& c);

// The background of an edit, in every state (enabled or not).
void SetBaseColour(QWidget* widget, std::uint32_t colour_ref);

}  // namespace junmaru::window
