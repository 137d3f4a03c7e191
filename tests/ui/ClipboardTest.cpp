// Copy and Paste through the clipboard: the keys on the tree, the bytes put there, a round
// trip between two windows, and data that does not load.
#include <QClipboard>
#include <QMimeData>
#include <QTest>

#include "WindowFixture.h"
#include "platform/ClipboardService.h"
#include "ui/ImageView.h"

namespace {

class ClipboardTest : public WindowTest {
protected:
  void key(int k) {
    form_->show();
    QApplication::setActiveWindow(form_.get());
    tree()->setFocus();
    QTest::keyClick(tree(), Qt::Key(k), Qt::ControlModifier);
  }
  static void putPrivate(const QByteArray& bytes) {
    auto* data = new QMimeData;
    data->setData(ClipboardService::kPrivateMimeType, bytes);
    QGuiApplication::clipboard()->setMimeData(data);
  }
};

}  // namespace

TEST_F(ClipboardTest, CtrlCAndCtrlVCarryATrackToAnotherWindow) {
  form({writeTrack("a.gpx", "Ridge", 3)});
  select("Ridge");
  key(Qt::Key_C);
  EXPECT_EQ(lastLog(), "1 track copied");
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  const QByteArray bytes = data->data(ClipboardService::kPrivateMimeType);
  ASSERT_FALSE(bytes.isEmpty());
  EXPECT_EQ(bytes.back(), '\0');
  EXPECT_TRUE(bytes.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\r\n<gpx "));
  EXPECT_TRUE(bytes.endsWith(QByteArray("</trk>\r\n</gpx>\0", 15)));
  EXPECT_TRUE(data->text().startsWith("<trk>\r\n"));  // the same element text without a NUL
  EXPECT_TRUE(data->text().endsWith("</trk>\r\n"));

  form({writeTrack("b.gpx", "Valley", 2)});
  select("Valley");
  key(Qt::Key_V);
  EXPECT_EQ(lastLog(), "data pasted");
  EXPECT_TRUE(form_->GPXModified);
  ASSERT_EQ(form_->CurrentGPX->Tracks.Count(), 2);
  EXPECT_EQ(form_->CurrentGPX->Tracks.GetTrack(1)->name, "Ridge");
  EXPECT_EQ(form_->CurrentGPX->Tracks.GetTrack(1)->GetSegment(0)->Count(), 3);
}

TEST_F(ClipboardTest, PasteIntoAWindowWithoutDocumentShowsItForSaving) {
  form();
  putPrivate("<gpx><wpt lat=\"1\" lon=\"2\"/></gpx>");
  form_->Paste1Click();
  EXPECT_EQ(form_->CurrentGPX->Waypoints.Count(), 1);
  EXPECT_TRUE(form_->GPXLoaded);
  EXPECT_TRUE(action("tbSaveGPX")->isEnabled());
}

TEST_F(ClipboardTest, DataThatDoesNotLoadChangesNothing) {
  const struct {
    QByteArray bytes;
    bool logged;  // the reader says why
  } cases[] = {
      {QByteArray("<gpx><wpt lat=\"1\"", 17) + '\0', true},  // not well-formed
      {QByteArray("<kml/>") + '\0', true},                   // no gpx element
      {QByteArray("x") + '\0', false},                       // too short to try
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.bytes.toStdString());
    form({writeTrack("b.gpx", "Valley")});
    putPrivate(c.bytes);
    select("Valley");
    const size_t before = log().size();
    form_->Paste1Click();
    EXPECT_FALSE(form_->GPXModified);
    EXPECT_EQ(form_->CurrentGPX->Tracks.Count(), 1);
    EXPECT_EQ(log().size() > before, c.logged);
    EXPECT_NE(lastLog(), "data pasted");
  }
}

TEST_F(ClipboardTest, APastedRouteIsDrawnAtOnce) {
  form().show();
  form_->OpenGPXFile(writeTrack("b.gpx", "Valley", 3));
  const QImage& image = form_->findChild<TImageView*>("GPXImage")->canvas().Image();
  const QImage before = image.copy();
  putPrivate(QByteArray("<gpx><rte><rtept lat=\"45.005\" lon=\"4.9\"/><rtept lat=\"45.015\" lon=\"5.1\"/></rte></gpx>") + '\0');
  form_->Paste1Click();
  EXPECT_NE(image, before);  // the route crosses the track's box
}
