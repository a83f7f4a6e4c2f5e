// The start-up window: its texts and when its timer lets it close.
#include "forms/AuxForms.h"
#include "model/Version.h"
#include <cstdint>
#include <gtest/gtest.h>

using namespace halvern;

TEST(SplashTest, ShowsNameVersionAndDisclaimerWordForWord) {
    const TfrmSplash splash(1234);
    EXPECT_EQ(splash.labAppName, "Halvern");
    EXPECT_EQ(splash.labAppVersion, std::string("v") + VersionNumber);
    EXPECT_EQ(
        splash.Disclaimer,
        "Whilst every effort has been made by the developers to ensure that Halvern is free from error, "
        "those using the model do so at their own risk. The developers of Halvern accept no liability of "
        "any nature for losses (direct or indirect) incurred through the use of this model.");
    EXPECT_EQ(splash.FStartTicks, 1234u);
    EXPECT_FALSE(splash.FOKToClose);
    EXPECT_FALSE(splash.FForceClose);
    EXPECT_EQ(TfrmSplash::TimerInterval, 500);
}

TEST(SplashTest, ClosesOnlyAfterFiveSecondsOnceStartUpIsComplete) {
    struct Case {
        uint32_t start;
        uint32_t now;
        bool okToClose;
        bool closes;
    };
    const uint32_t nearWrap = UINT32_MAX - 1000; // the counter wraps 1 s after this
    const Case cases[] = {
        {1000, 6000, true, false},               // exactly 5000 ms: not yet
        {1000, 6001, true, true},                // more than 5000 ms
        {1000, 6400, false, false},              // start-up still running
        {1000, 900000, false, false},            // however long it takes
        {nearWrap, 3999, true, false},           // 5000 ms across the wrap
        {nearWrap, 4001, true, true},            // 5002 ms across the wrap
        {nearWrap, nearWrap + 200, true, false}, // a reading just after the start
    };
    for (const Case& c : cases) {
        TfrmSplash splash(c.start);
        splash.FOKToClose = c.okToClose;
        EXPECT_EQ(splash.Timer1Timer(c.now), c.closes) << c.start << " -> " << c.now;
    }
}

TEST(SplashTest, ClickClosesAtTheNextTickEvenDuringStartUp) {
    TfrmSplash splash(50);
    splash.FormClick();
    EXPECT_TRUE(splash.Timer1Timer(60));
    EXPECT_TRUE(splash.Timer1Timer(50)); // no time need have passed at all
}
