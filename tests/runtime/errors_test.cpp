// errors_test.cpp: console output, fatal runtime errors, the crash-signal
// handler and the debugger stop protocol (death tests: each case runs in a
// child process with its own standard input and output).
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "runtime/runtime.h"

namespace {

constexpr int kExitMinusOne = 255;  // exit(-1) as the parent sees it

std::string out_path() {
    const testing::TestInfo *t = testing::UnitTest::GetInstance()->current_test_info();
    return testing::TempDir() + "runtime_errors_" + t->name() + ".out";
}

// In the child: standard input reads input (then ends), standard output
// goes to path.
void redirect(const std::string &input, const std::string &path) {
    std::string in_path = path + ".in";
    {
        std::ofstream in(in_path, std::ios::binary);
        in << input;
    }
    if (!std::freopen(in_path.c_str(), "r", stdin)) std::abort();
    if (!std::freopen(path.c_str(), "w", stdout)) std::abort();
}

std::string read_file(const std::string &path) {
    std::ifstream f(path, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

const char kBanner[] = "Vantix Runtime Error : Image frame outside surface\n\n";
const char kStopLine[] = "\\{\\{~~~~\\}\\}";

// ---------------------------------------------------------------------------
// Error and the stop protocol
// ---------------------------------------------------------------------------

TEST(RuntimeErrorsDeathTest, EmptyErrorEndsQuietlyWithStatusZero) {
    std::string out = out_path();
    EXPECT_EXIT(
        {
            redirect("", out);
            Error("");
        },
        testing::ExitedWithCode(0), "^$");
    EXPECT_EQ(read_file(out), "");
}

TEST(RuntimeErrorsDeathTest, ErrorPrintsTheBannerAndEndsWhenInputIsAtEnd) {
    std::string out = out_path();
    EXPECT_EXIT(
        {
            redirect("", out);
            Error("Image frame outside surface");
        },
        testing::ExitedWithCode(kExitMinusOne), std::string("^") + kStopLine + "\n\n$");
    EXPECT_EQ(read_file(out), kBanner);
}

TEST(RuntimeErrorsDeathTest, DebuggerCommands) {
    struct Case {
        std::string input;
        int status;
        std::string output;  // standard output after the first banner
    };
    const Case cases[] = {
        {"?\nq\n", 0, ""},
        {"?\n?\nq\n", 0, ""},
        {"x\n", kExitMinusOne, "????? x ?????\n"},
        {"?\nhelp me\n", kExitMinusOne, "????? help me ?????\n"},
        {"q", kExitMinusOne, ""},  // a line without its newline
        {"\n", kExitMinusOne, "?????  ?????\n"},
        {std::string(300, '?'), kExitMinusOne, ""},  // longer than a line
        {"r\n", kExitMinusOne, kBanner},             // resumed: the error is reported again
        {"s\nq\n", 0, kBanner},
        {"@0\nq\n", 0, ""},
    };
    for (const Case &c : cases) {
        std::string out = out_path();
        std::string input = c.input;
        EXPECT_EXIT(
            {
                redirect(input, out);
                Error("Image frame outside surface");
            },
            testing::ExitedWithCode(c.status), kStopLine)
            << "input: " << input;
        EXPECT_EQ(read_file(out), kBanner + c.output) << "input: " << input;
    }
}

TEST(RuntimeErrorsDeathTest, StepCommandsSetSuspendAndStepMode) {
    struct Case {
        const char *input;
        int suspend;
        int mode;
    };
    const Case cases[] = {{"e\n", 1, 'e'}, {"l\n", 0, 'l'}, {"s\n", 1, 's'}, {"?\nr\n", 0, 0}};
    for (const Case &c : cases) {
        std::string out = out_path();
        std::string input = c.input;
        EXPECT_EXIT(
            {
                redirect(input, out);
                dbg_suspend = 7;
                dbg_stepmode = 7;
                DebugStop();
                std::exit(dbg_suspend * 128 + dbg_stepmode);
            },
            testing::ExitedWithCode(c.suspend * 128 + c.mode), "")
            << "input: " << input;
    }
}

TEST(RuntimeErrorsDeathTest, InspectCommandPrintsTheObjectsDebugText) {
    struct Named : public Object {
        String debug() override { return "a named object"; }
    };
    Named *named = new Named;
    char command[64];
    std::snprintf(command, sizeof command, "@%p\n@0x10\nq\n", static_cast<void *>(named));
    std::string out = out_path();
    std::string input = command;
    // The unknown address gives an empty line instead of a crash.
    EXPECT_EXIT(
        {
            redirect(input, out);
            DebugStop();
        },
        testing::ExitedWithCode(0), std::string(kStopLine) + "\n\na named object\n\n$");
}

TEST(RuntimeErrorsDeathTest, CrashSignalsPrintTheirNames) {
    struct Case {
        int signal;
        const char *name;
    };
    const Case cases[] = {{SIGILL, "Illegal instruction"},
                          {SIGFPE, "Floating point exception"},
                          {SIGSEGV, "Memory access violation"}};
    for (const Case &c : cases) {
        std::string out = out_path();
        int sig = c.signal;
        EXPECT_EXIT(
            {
                redirect("", out);
                std::signal(sig, sighandler);
                std::raise(sig);
            },
            testing::ExitedWithCode(kExitMinusOne), kStopLine)
            << c.name;
        EXPECT_EQ(read_file(out), std::string("Vantix Runtime Error : ") + c.name + "\n\n");
    }
    std::string out = out_path();
    EXPECT_EXIT(
        {
            redirect("", out);
            sighandler(SIGUSR1);
        },
        testing::ExitedWithCode(kExitMinusOne), kStopLine);
    EXPECT_EQ(read_file(out), "Vantix Runtime Error : Unknown signal\n\n");
}

// ---------------------------------------------------------------------------
// Console output and debugger views
// ---------------------------------------------------------------------------

TEST(RuntimeErrorsTest, PrintWritesTheLowByteOfEachCharacter) {
    testing::internal::CaptureStdout();
    EXPECT_EQ(Print(String(u"\x20AC x", 3)), 0);
    DebugLog(std::string(300, 'y').c_str());  // longer than the line buffer
    Print("");
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "\xAC x\n" + std::string(300, 'y') + "\n\n");

    testing::internal::CaptureStderr();
    dbg_print("to the debugger");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "to the debugger\n");
}

TEST(RuntimeErrorsTest, DebuggerViewsOfValues) {
    bool t = true, f = false;
    int i = -7;
    float x = 0.5f;
    String s("say \"hi\"\tnow\nand\rthen");
    String long_text(std::string(120, 'k').c_str());
    EXPECT_EQ(dbg_type(&t), String("Bool"));
    EXPECT_EQ(dbg_type(&i), String("Int"));
    EXPECT_EQ(dbg_type(&x), String("Float"));
    EXPECT_EQ(dbg_type(&s), String("String"));
    EXPECT_EQ(dbg_value(&t), String("True"));
    EXPECT_EQ(dbg_value(&f), String("False"));
    EXPECT_EQ(dbg_value(&i), String("-7"));
    EXPECT_EQ(dbg_value(&x), String("0.5"));
    EXPECT_EQ(dbg_value(&s), String("\"say ~qhi~q~tnow~nand~rthen\""));
    EXPECT_EQ(dbg_value(&long_text), String(("\"" + std::string(100, 'k') + "...\"").c_str()));
}

TEST(RuntimeErrorsTest, StackTraceAndThrow) {
    EXPECT_EQ(dbg_stacktrace().Length(), 0);
    dbg_info = "game.cpp<12>";
    EXPECT_EQ(dbg_stacktrace(), String("game.cpp<12>\n"));
    const char *message = "boom";
    try {
        dbg_throw(message);
        FAIL() << "dbg_throw returned";
    } catch (const char *caught) {
        EXPECT_EQ(caught, message);
    }
    EXPECT_EQ(dbg_exstack, String("game.cpp<12>\n"));
    dbg_info = nullptr;
    dbg_exstack = String();
    dbg_callstack();
}

TEST(RuntimeErrorsTest, ObjectDefaults) {
    Object *a = new Object;
    Object *b = new Object;
    EXPECT_TRUE(a->Equals(a));
    EXPECT_FALSE(a->Equals(b));
    EXPECT_EQ(a->Compare(a), 0);
    EXPECT_EQ(a->Compare(b), a < b ? -1 : 1);
    EXPECT_EQ(b->Compare(a), -a->Compare(b));
    EXPECT_EQ(a->debug().Length(), 0);
}

}  // namespace
