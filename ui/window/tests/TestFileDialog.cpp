// The file dialogs as the window configures them, and the queued answers
// that stand in for a person in tests.

#include <QTest>

#include "file_dialog.h"
#include "form_controls.h"
#include "test_support.h"

using junmaru::window::FileDialog;
using junmaru::window::testing::Q;

class TestFileDialog : public QObject {
  Q_OBJECT

 private slots:
  void windowDialogsHaveTheirDesign();
  void queuedAnswersComeBackInOrder();
};

void TestFileDialog::windowDialogsHaveTheirDesign() {
  QWidget form;
  junmaru::window::FormControls controls;
  junmaru::window::BuildControls(&form, controls);
  QCOMPARE(controls.OpenDialog->GetMode(), FileDialog::Mode::kOpen);
  QCOMPARE(controls.OpenDialog->Title(), junmaru::Utf8ToCp932("読み込むログファイルの選択（任意拡張子ファイルも選択可能）"));
  // "*.*" would hide an access log named without an extension here.
  QCOMPARE(controls.OpenDialog->NameFilters(),
           (QStringList{Q("拡張子logのログファイル(*.log) (*.log)"), Q("任意のログファイル(*.*) (*)")}));
  QCOMPARE(controls.OpenDialog->DefaultName(), std::string());
  QCOMPARE(controls.SaveDialog->GetMode(), FileDialog::Mode::kSave);
  QCOMPARE(controls.SaveDialog->Title(), junmaru::Utf8ToCp932("保存先とファイル名の指定"));
  QCOMPARE(controls.SaveDialog->NameFilters(), QStringList{Q("出力HTMLファイル(*.html) (*.html)")});
  QCOMPARE(controls.SaveDialog->DefaultName(), std::string("ranking.html"));
}

void TestFileDialog::queuedAnswersComeBackInOrder() {
  FileDialog dialog(FileDialog::Mode::kOpen, "t", {{"log(*.log)", "*.log"}}, "");
  FileDialog::QueueAnswer(std::string("/var/log/access_log"));
  FileDialog::QueueAnswer(std::nullopt);
  QCOMPARE(dialog.Execute(nullptr, ""), std::optional<std::string>("/var/log/access_log"));
  QCOMPARE(dialog.Execute(nullptr, ""), std::optional<std::string>());
  FileDialog::ClearAnswers();
}

QTEST_MAIN(TestFileDialog)
#include "TestFileDialog.moc"
