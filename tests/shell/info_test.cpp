// The information screen: its slogan scrolls, its progress bar runs in the status bar,
// and its 151st tick ends the program.
#include "shell/maker.h"
#include "support/fakes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

constexpr tk::Millis tick = 75;
const std::string slogan = "Kwikstaart,educatieve software voor de basisschool";

struct Info : ::testing::Test {
  testing_support::TestProgram t;

  Info() {
    t.program.start();
    t.program.openDrill();
    t.program.tafels().control("Cmdstop").click();
  }
  Frminfo &info() { return t.program.frminfo(); }
  tk::Control &c(std::string_view name) { return info().control(name); }
  std::string panelText() { return c("StatusBar1").panel(1).text; }
  // Blanks that fill the first panel: its width over the width of one blank, rounded.
  [[nodiscard]] std::size_t blanks() const {
    return static_cast<std::size_t>(std::nearbyint(2000.0F / t.services.blankWidth));
  }
};

TEST_F(Info, showsTheNoticeAndTheSloganWhenItLoads) {
  EXPECT_EQ(c("lblgeld").text(), " Sinds mijn 60ste verjaardag is de software gratis\r\n via " +
                                     std::string(maker::distributionSite) + " ");
  EXPECT_EQ(panelText(), slogan);
  EXPECT_EQ(c("StatusBar1").panel(5).text, "Gratis software");
  EXPECT_TRUE(info().timer("Timer1").enabled());
}

TEST_F(Info, theProgressBarCoversTheSecondPanelExactly) {
  const tk::Control &bar = c("ProgressBar1");
  const tk::PixelRect panel = c("StatusBar1").panelRect(1);
  EXPECT_EQ(bar.container(), &c("StatusBar1"));
  EXPECT_TRUE(bar.visible());
  EXPECT_FLOAT_EQ(bar.left(), static_cast<float>(panel.left * tk::twipsPerPixel));
  EXPECT_FLOAT_EQ(bar.top(), static_cast<float>(panel.top * tk::twipsPerPixel));
  EXPECT_FLOAT_EQ(bar.width(), static_cast<float>((panel.right - panel.left) * tk::twipsPerPixel));
  EXPECT_FLOAT_EQ(bar.height(), static_cast<float>((panel.bottom - panel.top) * tk::twipsPerPixel));
  EXPECT_FLOAT_EQ(bar.max(), 150);
}

TEST_F(Info, theSloganEntersFromTheRightAndScrollsInACycle) {
  const std::size_t n = blanks();
  const std::size_t length = slogan.size();
  t.advance(tick);
  EXPECT_EQ(panelText(), std::string(n - 1, ' ') + slogan);
  t.advance(tick * static_cast<tk::Millis>(n - 1));
  EXPECT_EQ(panelText(), slogan);
  t.advance(tick * static_cast<tk::Millis>(length));
  EXPECT_EQ(panelText(), "");
  t.advance(tick);
  EXPECT_EQ(panelText(), std::string(n, ' ') + slogan);
  t.advance(tick);
  EXPECT_EQ(panelText(), std::string(n - 1, ' ') + slogan);
}

TEST_F(Info, theProgressBarCountsTicksAndTheProgramEndsOnTheHundredFiftyFirst) {
  t.advance(tick * 150);
  EXPECT_FALSE(t.services.ended);
  EXPECT_FLOAT_EQ(c("ProgressBar1").value(), 150);
  t.advance(tick);
  EXPECT_TRUE(t.services.ended);
  EXPECT_TRUE(t.desktop.ended());
  EXPECT_FALSE(info().visible());
  EXPECT_FLOAT_EQ(c("ProgressBar1").value(), 150); // 151 is never shown
  EXPECT_EQ(c("ProgressBar1").container(), nullptr);
}

TEST_F(Info, comingBackToTheMainWindowShowsTheBarAtZeroButKeepsTheCount) {
  t.advance(tick * 10);
  t.program.mdiForm2().control("aftrek2").click(); // a fresh drill comes in front
  EXPECT_TRUE(t.program.tafels().visible());
  EXPECT_FALSE(t.program.frmmecenaat1().visible());
  t.desktop.activate(t.program.mdiForm2());
  EXPECT_FLOAT_EQ(c("ProgressBar1").value(), 0);
  t.advance(tick);
  EXPECT_FLOAT_EQ(c("ProgressBar1").value(), 11);
  t.advance(tick * 140);
  EXPECT_TRUE(t.services.ended);
}

TEST_F(Info, noCodeOfTheInformationScreenRunsAtStartUp) {
  testing_support::TestProgram fresh;
  fresh.program.start();
  EXPECT_FALSE(fresh.program.frminfo.loaded());
  fresh.advance(20'000);
  EXPECT_FALSE(fresh.services.ended);
}

} // namespace
