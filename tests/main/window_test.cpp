// The window, its context and the runner's loop, for real under Xvfb.
#include "support/childprocess.h"
#include "support/glharness.h"

#include "gl/projection.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <future>
#include <signal.h>

namespace
{
void expectProjection(int width, int height, double halfWidth, double halfHeight)
{
    GlTestWindow window(width, height);
    setWindowProjection(width, height);
    double m[16];
    glGetDoublev(GL_PROJECTION_MATRIX, m);
    EXPECT_FLOAT_EQ(static_cast<float>(m[0]), static_cast<float>(1.0 / halfWidth));
    EXPECT_FLOAT_EQ(static_cast<float>(m[5]), static_cast<float>(1.0 / halfHeight));
    EXPECT_DOUBLE_EQ(m[12], 0.0);
    EXPECT_DOUBLE_EQ(m[13], 0.0);
    EXPECT_DOUBLE_EQ(m[10], -1.0);

    // A pixel-sized square at (halfWidth - 1, 0) in projection units lands in the last column.
    glClear(GL_COLOR_BUFFER_BIT);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glBegin(GL_QUADS);
    glVertex2d(halfWidth - 1.0, 0.0);
    glVertex2d(halfWidth, 0.0);
    glVertex2d(halfWidth, 1.0);
    glVertex2d(halfWidth - 1.0, 1.0);
    glEnd();
    glFinish();
    const int lastColumn = width - 1;
    EXPECT_EQ(window.readPixel(lastColumn, height / 2).r, 255);
}
}

TEST(Window, ProjectionIsCentredWithIntegerHalves)
{
    expectProjection(1280, 720, 640.0, 360.0);
}

TEST(Window, OddWidthTruncatesTheHalf)
{
    // 1025 wide: -512 .. 512, the projection covers 1024 of the 1025 pixels.
    expectProjection(1025, 600, 512.0, 300.0);
}

TEST(Window, ContextIsASingleton)
{
    ChildResult r = runInChild([] {
        Context first("one", 64, 64, false);
        Context second("two", 64, 64, false);
    });
    EXPECT_EQ(r.signal, SIGABRT);
    EXPECT_EQ(r.output.find("ASSERTION \"ms_context == 0\" FAILED\n   * at:      src/gl/context.cpp:"), 0u)
        << r.output;
    EXPECT_NE(r.output.find("   * message: An OpenGL context has already been opened.\n"), std::string::npos);
}

TEST(Window, OnlyTheRegisteredContextMayClose)
{
    ChildResult r = runInChild([] {
        Context context("one", 64, 64, false);
        Context copy(context);
        // The copy's destructor runs first and must refuse.
    });
    EXPECT_EQ(r.signal, SIGABRT);
    EXPECT_NE(r.output.find("ASSERTION \"ms_context == this\" FAILED\n"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("   * message: The ms_context variable has been tampered with...\n"), std::string::npos);
}

TEST(Window, AfterDestructionANewContextMayOpen)
{
    {
        Context first("one", 64, 64, false);
        EXPECT_EQ(Context::ms_context, &first);
    }
    EXPECT_EQ(Context::ms_context, nullptr);
    Context second("two", 64, 64, false);
    EXPECT_EQ(Context::ms_context, &second);
}

TEST(Window, InvalidSizeIsReportedAndExitsCleanly)
{
    ChildResult r = runProgram({QUILLON_PATH, "-w", "0", "-h", "600"}, "", {}, 20);
    EXPECT_TRUE(r.exited);
    EXPECT_NE(r.exitCode, 0);
    EXPECT_NE(r.errors.find("quillon: cannot open the demo window: "), std::string::npos) << r.errors;
}

TEST(Window, NoDisplayIsReportedAndExitsCleanly)
{
    const auto start = std::chrono::steady_clock::now();
    ChildResult r = runProgram({QUILLON_PATH}, "", {"DISPLAY=", "WAYLAND_DISPLAY="}, 20);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_TRUE(r.exited) << "signal " << r.signal;
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.errors.find("quillon: cannot open the demo window: "), std::string::npos) << r.errors;
    EXPECT_LT(seconds, 5.0);
}

TEST(Window, EscapeEndsTheDemoWithExitZero)
{
    // Run from the build folder, which holds the demo's data/.
    auto demo = std::async(std::launch::async,
                           [] { return runProgram({QUILLON_PATH, "-w", "320", "-h", "240"}, SOLENNE_BINARY_DIR, {}, 120); });
    // Wait for the window, put the pointer over it (without a window manager
    // the keyboard follows the pointer) and tap Escape once.
    const int rc = std::system("timeout 30 xdotool search --sync --onlyvisible --limit 1 "
                               "--name 'Solenne :: KVT at Corvanta 2012' mousemove --window %1 5 5 "
                               "&& xdotool key Escape");
    EXPECT_EQ(rc, 0);
    ChildResult r = demo.get();
    EXPECT_TRUE(r.exited) << "signal " << r.signal;
    EXPECT_EQ(r.exitCode, 0);
    const std::string last = ">>> DEMO ENDS NOW <<<\n";
    ASSERT_GE(r.output.size(), last.size());
    EXPECT_EQ(r.output.substr(r.output.size() - std::string("P[DEMO] ").size() - last.size()), "P[DEMO] " + last)
        << r.output;
}
