// The file dialogs as the window configures them, and the queued answers
// that stand in for a person in tests.

#include <QAbstractButton>
#include <QDialog>
#include <QLabel>
#include <QTest>
#include <QTimer>

#include "application.h"
#include "file_dialog.h"
#include "form_controls.h"
#include "test_support.h"
#include "window_font.h"

using junmaru::form::Control;
using junmaru::window::FileDialog;
using junmaru::window::testing::Q;

class TestFileDialog : public QObject {
  Q_OBJECT

 private slots:
  void windowDialogsHaveTheirDesign();
  void queuedAnswersComeBackInOrder();
  void shownDialogIsJapanese_data();
  void shownDialogIsJapanese();
};

void TestFileDialog::windowDialogsHaveTheirDesign() {
  QWidget form;
  junmaru::window::FormControls controls;
  junmaru::window::BuildControls(&form, controls);
  QCOMPARE(controls.dialogs[Control("OpenDialog").index]->GetMode(), FileDialog::Mode::kOpen);
  QCOMPARE(controls.dialogs[Control("OpenDialog").index]->Title(),
           junmaru::Utf8ToCp932("読み込むログファイルの選択（任意拡張子ファイルも選択可能）"));
  // "*.*" would hide an access log named without an extension here.
  QCOMPARE(controls.dialogs[Control("OpenDialog").index]->NameFilters(),
           (QStringList{Q("拡張子logのログファイル(*.log) (*.log)"), Q("任意のログファイル(*.*) (*)")}));
  QCOMPARE(controls.dialogs[Control("OpenDialog").index]->DefaultName(), std::string());
  QCOMPARE(controls.dialogs[Control("SaveDialog").index]->GetMode(), FileDialog::Mode::kSave);
  QCOMPARE(controls.dialogs[Control("SaveDialog").index]->Title(), junmaru::Utf8ToCp932("保存先とファイル名の指定"));
  QCOMPARE(controls.dialogs[Control("SaveDialog").index]->NameFilters(),
           QStringList{Q("出力HTMLファイル(*.html) (*.html)")});
  QCOMPARE(controls.dialogs[Control("SaveDialog").index]->DefaultName(), std::string("ranking.html"));
}

void TestFileDialog::queuedAnswersComeBackInOrder() {
  FileDialog dialog(FileDialog::Mode::kOpen, "t", {{"log(*.log)", "*.log"}}, "");
  FileDialog::QueueAnswer(std::string("/var/log/access_log"));
  FileDialog::QueueAnswer(std::nullopt);
  QCOMPARE(dialog.Execute(nullptr, ""), std::optional<std::string>("/var/log/access_log"));
  QCOMPARE(dialog.Execute(nullptr, ""), std::optional<std::string>());
  FileDialog::ClearAnswers();
}

void TestFileDialog::shownDialogIsJapanese_data() {
  QTest::addColumn<bool>("save");
  QTest::newRow("open dialog") << false;
  QTest::newRow("save dialog") << true;
}

// The dialog as the program shows it, read and closed from a timer: Qt's
// own labels and buttons are translated, and it uses the window's face.
void TestFileDialog::shownDialogIsJapanese() {
  QFETCH(bool, save);
  auto* app = qobject_cast<junmaru::window::Application*>(qApp);
  QVERIFY2(app->HasQtTranslation(), "Qt's Japanese texts are missing (Debian package qt6-translations-l10n)");
  QWidget form;
  junmaru::window::FormControls controls;
  junmaru::window::BuildControls(&form, controls);

  QStringList texts;
  QFont font;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!dialog) return;
    font = dialog->font();
    for (const QAbstractButton* button : dialog->findChildren<QAbstractButton*>()) {
      if (button->isVisible()) texts << button->text().remove(QLatin1Char('&'));
    }
    for (const QLabel* label : dialog->findChildren<QLabel*>()) {
      if (label->isVisible()) texts << label->text().remove(QLatin1Char('&'));
    }
    dialog->reject();
  });
  const FileDialog& dialog =
      save ? *controls.dialogs[Control("SaveDialog").index] : *controls.dialogs[Control("OpenDialog").index];
  QCOMPARE(dialog.Execute(&form, std::string()), std::optional<std::string>());

  QVERIFY(!texts.isEmpty());
  for (const char* english : {"Open", "Save", "Cancel", "Look in:", "File name:", "Files of type:", "Save as:"}) {
    QVERIFY2(!texts.contains(QString::fromLatin1(english)), english);
  }
  const QFontInfo window_face(junmaru::window::WindowFont());
  QCOMPARE(QFontInfo(font).family(), window_face.family());
  QCOMPARE(QFontInfo(font).pixelSize(), window_face.pixelSize());
}

int main(int argc, char** argv) {
  junmaru::window::Application app(argc, argv);
  TestFileDialog test;
  return QTest::qExec(&test, argc, argv);
}

#include "TestFileDialog.moc"
