// What each screen looks like: colours sampled where the design tables place controls,
// so that a regression in layout or colour fails. With HONDERDTAFELS_SCREENSHOTS set to
// a folder, the screens are also saved there as pictures.
#include "gui/real_program.h"
#include "shell/qt/widgets.h"

#include <QAccessible>
#include <QBackingStore>
#include <QDir>
#include <QFontInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QProgressBar>
#include <QToolButton>

namespace {

struct Look : testing_support::RealProgramTest {
  Look() : RealProgramTest(testing_support::ClockKind::Test) {}

  // The colour drawn at a point of a form's client area, in twips.
  QColor at(tk::Form &form, float x, float y) {
    const QPixmap shot = backend.view(form)->client()->grab();
    const qreal ratio = shot.devicePixelRatio();
    return shot.toImage().pixelColor(qRound(x / tk::twipsPerPixel * ratio),
                                     qRound(y / tk::twipsPerPixel * ratio));
  }
  // Inside a control, `dx`, `dy` twips from its corner, wherever its containers are.
  QColor in(tk::Form &form, const tk::Control &control, float dx, float dy) {
    float x = control.left() + dx;
    float y = control.top() + dy;
    for (const tk::Control *c = control.container(); c != nullptr; c = c->container()) {
      x += c->left() + c->innerOffset();
      y += c->top() + c->innerOffset();
    }
    return at(form, x, y);
  }
  void save(tk::Form &form, const char *name) {
    const QString folder = qEnvironmentVariable("HONDERDTAFELS_SCREENSHOTS");
    if (!folder.isEmpty()) {
      QDir().mkpath(folder);
      backend.view(form)->window()->grab().save(folder + QLatin1Char('/') + QLatin1String(name) +
                                                QStringLiteral(".png"));
    }
  }
};

::testing::AssertionResult looksLike(const QColor &seen, tk::Color wanted, int tolerance = 12) {
  const int off =
      std::max({std::abs(seen.red() - wanted.red), std::abs(seen.green() - wanted.green),
                std::abs(seen.blue() - wanted.blue)});
  if (off <= tolerance) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure() << "saw RGB(" << seen.red() << "," << seen.green() << ","
                                       << seen.blue() << "), wanted RGB(" << int(wanted.red) << ","
                                       << int(wanted.green) << "," << int(wanted.blue) << ")";
}

TEST_F(Look, theMainWindowFramesTheWelcomeScreenInItsColours) {
  tk::Form &welcome = program.frmmecenaat1();
  auto *area = qobject_cast<QMainWindow *>(backend.view(program.mdiForm2())->window())
                   ->findChild<QMdiArea *>();
  // Sampled where the welcome screen leaves the client area bare, if the display is
  // large enough to leave any of it.
  const QRect welcomeRect = backend.view(welcome)->window()->geometry();
  const QImage client = area->grab().toImage();
  const qreal ratio = client.devicePixelRatio();
  for (const QPoint corner : {QPoint(2, 2), QPoint(area->width() - 3, area->height() - 3)}) {
    if (!welcomeRect.contains(corner)) {
      EXPECT_TRUE(looksLike(client.pixelColor((QPointF(corner) * ratio).toPoint()),
                            tk::rgb(234, 226, 138)));
    }
  }
  EXPECT_EQ(area->background().color(), QColor(234, 226, 138));
  EXPECT_TRUE(looksLike(in(welcome, welcome.control("Label11"), 30, 30), tk::rgb(255, 255, 192)));
  EXPECT_TRUE(looksLike(in(welcome, welcome.control("Shape3"), 60, 60), tk::rgb(255, 255, 128)));
  EXPECT_TRUE(looksLike(in(welcome, welcome.control("lblpartner2"), 60, 30), tk::rgb(0, 0, 128)));
  EXPECT_TRUE(looksLike(in(welcome, welcome.control("Label5"), 60, 30), tk::rgb(0, 0, 128)));
  EXPECT_TRUE(looksLike(in(welcome, welcome.control("cmdkombinnen"), 300, 300),
                        tk::rgb(255, 255, 255), 30));
  save(welcome, "welcome");
}

// The designs name Windows fonts; each is drawn in the look-alike Debian ships.
TEST_F(Look, theDesignsWindowsFontsAreDrawnInTheirLookAlikes) {
  const auto drawnIn = [this](tk::Form &form, const char *name) {
    auto *label = find<QLabel>(form, name);
    return label != nullptr ? QFontInfo(label->font()) : QFontInfo(QFont());
  };
  const QFontInfo arial = drawnIn(program.frmmecenaat1(), "Label11");
  EXPECT_EQ(arial.family(), QStringLiteral("Liberation Sans"));
  EXPECT_TRUE(arial.bold());
  EXPECT_EQ(drawnIn(program.frmmecenaat1(), "lblpartner2").family(),
            QStringLiteral("Liberation Sans"));
  const QFontInfo comic = drawnIn(program.tafels(), "lblvalprobleem");
  EXPECT_EQ(comic.family(), QStringLiteral("Comic Neue"));
  EXPECT_DOUBLE_EQ(comic.pointSizeF(), 18);
}

TEST_F(Look, theDrillShowsItsOrangeButtonsAndNavyFallingArea) {
  click(program.frmmecenaat1(), "cmdkombinnen");
  Tafels &drill = program.tafels();
  EXPECT_TRUE(looksLike(at(drill, 6450, 3000), tk::rgb(255, 192, 128)));
  for (tk::Control *knop : drill.array("cmdstarter")) {
    EXPECT_TRUE(looksLike(in(drill, *knop, 100, 900), tk::rgb(255, 128, 0), 40)) << knop->index();
  }
  EXPECT_TRUE(looksLike(in(drill, drill.control("Lbltotaal"), 60, 60), tk::rgb(255, 255, 255)));
  EXPECT_TRUE(looksLike(in(drill, drill.control("shpTip", 3), 10, 400), tk::rgb(0, 0, 128), 40));
  save(drill, "drill-idle");

  click(drill, "cmdstarter(3)");
  EXPECT_TRUE(looksLike(in(drill, drill.control("Picture1"), 300, 4500), tk::rgb(0, 0, 128)));
  EXPECT_TRUE(looksLike(in(drill, drill.control("txtAntwoord"), 60, 400), tk::rgb(0, 0, 128), 30));
  save(drill, "drill-round");

  advance(61'000);
  const tk::Control &verdict = drill.control("Lblmemo");
  EXPECT_TRUE(looksLike(in(drill, verdict, 30, 30), tk::rgb(255, 0, 0)));
  // The red pencil lies on top and shows left of the verdict lying on it.
  const tk::Control &pencil = drill.control("Imgpotloodrood");
  EXPECT_TRUE(looksLike(in(drill, pencil, 600, 300), tk::rgb(255, 0, 0), 60));
  save(drill, "drill-verdict");
}

// The falling problem is drawn opaque in its area's navy, so that Qt moves it by copying
// its pixels: what stands on the screen after a stretch of its fall is what the window
// draws afresh, and that is what it draws with the problem transparent.
TEST_F(Look, theFallingProblemMovesByACopyOfItsPixelsAndLooksAsIfTransparent) {
  click(program.frmmecenaat1(), "cmdkombinnen");
  Tafels &drill = program.tafels();
  click(drill, "cmdstarter(3)");
  QWidget *window = backend.view(drill)->window();
  auto *problem = dynamic_cast<qtb::LabelWidget *>(find<QLabel>(drill, "lblvalprobleem"));
  ASSERT_NE(problem, nullptr);
  EXPECT_TRUE(problem->testAttribute(Qt::WA_OpaquePaintEvent));

  const QPoint before = problem->pos();
  for (int tick = 0; tick < 25; ++tick) {
    advance(100);
    QCoreApplication::processEvents();
  }
  ASSERT_NE(problem->pos(), before) << "the problem did not fall";
  const auto image = [](const QPixmap &shot) {
    return shot.toImage().convertToFormat(QImage::Format_RGB32);
  };
  // What Qt keeps of the window, as it is shown: the copies were made in it.
  const auto *kept = dynamic_cast<const QImage *>(window->backingStore()->paintDevice());
  ASSERT_NE(kept, nullptr);
  const QImage onScreen = kept->convertToFormat(QImage::Format_RGB32);
  const QImage afresh = image(window->grab());
  EXPECT_EQ(onScreen.size(), afresh.size());
  EXPECT_TRUE(onScreen == afresh) << "the copies left a trace of the fall";

  problem->setBackdrop(std::nullopt);
  EXPECT_TRUE(image(window->grab()) == afresh) << "the navy under the problem shows";
}

TEST_F(Look, theClassroomShowsItsYellowFieldAndALessonsGreenCells) {
  click(program.frmmecenaat1(), "cmdkombinnen");
  click(program.tafels(), "cmdstarter(3)");
  click(program.tafels(), "cmdrood");
  Aklas &klas = program.aklas();
  EXPECT_TRUE(looksLike(at(klas, 5000, 7700), tk::rgb(255, 255, 128)));
  EXPECT_TRUE(looksLike(in(klas, klas.control("Text2", 13), 40, 40), tk::rgb(255, 255, 0)));
  EXPECT_TRUE(looksLike(in(klas, klas.control("lblinfor"), 40, 40), tk::rgb(255, 0, 0)));
  EXPECT_TRUE(looksLike(in(klas, klas.control("Frmkiestafel"), 40, 4000), tk::rgb(192, 255, 192)));

  click(klas, "Cmd7");
  EXPECT_TRUE(looksLike(in(klas, klas.control("Text2", 14), 40, 40), tk::rgb(0, 255, 0)));
  EXPECT_TRUE(looksLike(in(klas, klas.control("Text2", 13), 40, 40), tk::rgb(255, 255, 0)));
  save(klas, "classroom-lesson");
  advance(10'000);
  EXPECT_TRUE(looksLike(in(klas, klas.control("Text2", 14), 40, 40), tk::rgb(0, 0, 0)));
  EXPECT_TRUE(looksLike(in(klas, klas.control("Lbltrainer"), 40, 40), tk::rgb(0, 0, 0)));
  advance(5000);
  save(klas, "classroom-answers");
}

TEST_F(Look, theInformationScreenRunsItsBarInTheStatusBar) {
  click(program.frmmecenaat1(), "cmdkombinnen");
  click(program.tafels(), "Cmdstop");
  Frminfo &info = program.frminfo();
  advance(75 * 75);
  EXPECT_TRUE(looksLike(in(info, info.control("Frame1"), 60, 200), tk::rgb(255, 255, 192)));
  EXPECT_TRUE(looksLike(in(info, info.control("lblgeld"), 60, 30), tk::rgb(0, 0, 128)));
  EXPECT_TRUE(looksLike(at(info, 30, 300), tk::rgb(111, 111, 111)));
  auto *bar = find<QProgressBar>(info, "ProgressBar1");
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->value(), 75);
  const tk::PixelRect panel = info.control("StatusBar1").panelRect(1);
  EXPECT_EQ(bar->geometry(),
            QRect(QPoint(panel.left, panel.top), QPoint(panel.right - 1, panel.bottom - 1)));
  save(info, "information");
}

// The window icon and the buttons' pictures are drawn from their SVG at whatever size the
// window system or the button asks for, sharp at the screen's pixel ratio, and as they are
// on a disabled button.
TEST_F(Look, picturesDrawAsIconsAtTheSizeAskedForAndKeepTheirColoursWhenDisabled) {
  const QIcon windowIcon = backend.view(program.mdiForm2())->window()->windowIcon();
  ASSERT_FALSE(windowIcon.isNull());
  // Offered to the window system at the picture's own size and half of it, which X11 draws
  // before the window first shows.
  EXPECT_EQ(windowIcon.availableSizes(), (QList<QSize>{QSize(16, 16), QSize(32, 32)}));
  for (const int side : {16, 32, 64, 128}) {
    const QImage drawn = windowIcon.pixmap(QSize(side, side), 2.0).toImage();
    EXPECT_EQ(drawn.size(), QSize(2 * side, 2 * side)) << side;
    EXPECT_GT(drawn.pixelColor(side, side).alpha(), 200) << "nothing drawn at " << side;
    EXPECT_EQ(drawn.pixelColor(0, 0).alpha(), 0) << "the tile's rounded corner at " << side;
  }

  // A button that cannot be pressed greys its caption only, as in the other programs: the
  // style must not grey its picture.
  auto *start = find<QToolButton>(program.frmmecenaat1(), "cmdkombinnen");
  ASSERT_NE(start, nullptr);
  const QSize size = start->iconSize();
  const QImage normal = start->icon().pixmap(size, 1.0, QIcon::Normal).toImage();
  const QImage disabled = start->icon().pixmap(size, 1.0, QIcon::Disabled).toImage();
  ASSERT_EQ(normal.size(), size);
  int coloured = 0;
  for (int y = 0; y < size.height(); y += 4) {
    for (int x = 0; x < size.width(); x += 4) {
      const QColor c = normal.pixelColor(x, y);
      coloured += c.alpha() > 0 && c.hsvSaturation() > 60 ? 1 : 0;
    }
  }
  EXPECT_GT(coloured, 20) << "the photo is not drawn in colour";
  EXPECT_EQ(disabled, normal) << "the disabled photo is not drawn as it is";
}

TEST_F(Look, everyButtonAndTheAnswerBoxHaveANameAScreenReaderReads) {
  click(program.frmmecenaat1(), "cmdkombinnen");
  click(program.tafels(), "cmdstarter(3)");
  click(program.tafels(), "cmdrood");
  for (tk::Form *form :
       {static_cast<tk::Form *>(&program.tafels()), static_cast<tk::Form *>(&program.aklas()),
        static_cast<tk::Form *>(&program.frmmecenaat1())}) {
    for (const auto &control : form->controls()) {
      if (control->kind() != tk::Kind::Button && control->kind() != tk::Kind::TextBox) {
        continue;
      }
      QWidget *widget = backend.view(*form)->widget(*control);
      ASSERT_NE(widget, nullptr) << control->name();
      QAccessibleInterface *face = QAccessible::queryAccessibleInterface(widget);
      ASSERT_NE(face, nullptr) << control->name();
      const bool isBox = control->kind() == tk::Kind::TextBox;
      EXPECT_EQ(face->role(), isBox ? QAccessible::EditableText : QAccessible::Button)
          << control->name();
      if (control->reachable()) {
        EXPECT_FALSE(face->text(QAccessible::Name).isEmpty()) << control->name();
        EXPECT_TRUE(widget->focusPolicy() & Qt::TabFocus || control->design().locked ||
                    !control->design().tabStop)
            << control->name();
      }
    }
  }
  QWidget *answer = backend.view(program.tafels())->widget(program.tafels().control("txtAntwoord"));
  EXPECT_EQ(QAccessible::queryAccessibleInterface(answer)->text(QAccessible::Name),
            QStringLiteral("Vul hier zo snel mogelijk de oplossing in"));
}

} // namespace
