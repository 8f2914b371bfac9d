#pragma once

// A small test harness for the evaluation core's tests. It uses the standard library
// only, so the core's tests build and run without Qt, on arm64 under qemu and as
// WebAssembly under Node.
//
//   CHECK_TEST(formatsHalfCentsAwayFromZero) {
//       for (const Row& row : kRows) {
//           CHECK_ROW(row.name);
//           CHECK_EQ(msr::FormatFigure(row.value, ","), row.expected);
//       }
//   }
//
// A failed check ends its test case and the run goes on with the next one. The run
// closes with "N passed, N failed" and exits non-zero on any failure.

#include <cstring>
#include <exception>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace check {

using TestFunction = void (*)();

struct TestCase {
    const char* name;
    TestFunction run;
};

inline std::vector<TestCase>& Registry() {
    static std::vector<TestCase> cases;
    return cases;
}

struct Registrar {
    Registrar(const char* name, TestFunction run) { Registry().push_back({name, run}); }
};

// The row a data-driven test is on, named in its failure messages.
inline std::string& CurrentRow() {
    static std::string row;
    return row;
}

struct Failure {
    std::string message;
};

[[noreturn]] inline void Fail(const char* file, int line, const std::string& what) {
    std::ostringstream message;
    message << file << ':' << line << ": " << what;
    if (!CurrentRow().empty())
        message << " (row \"" << CurrentRow() << "\")";
    throw Failure{message.str()};
}

template <typename T> std::string Show(const T& value) {
    std::ostringstream out;
    out.precision(21);
    out << value;
    return out.str();
}
inline std::string Show(const std::string& value) {
    return '"' + value + '"';
}
inline std::string Show(const char* value) {
    return value ? Show(std::string(value)) : "nullptr";
}
inline std::string Show(bool value) {
    return value ? "true" : "false";
}
// A list one item a line, so that a long text's difference is found by eye.
template <typename T> std::string Show(const std::vector<T>& values) {
    std::string text = "{";
    for (const T& value : values)
        text += "\n        " + Show(value);
    return text + (values.empty() ? "}" : "\n    }");
}

template <typename A, typename B>
void Equal(const A& actual, const B& expected, const char* actualText, const char* expectedText,
           const char* file, int line) {
    if (actual == expected)
        return;
    Fail(file, line,
         std::string(actualText) + " == " + expectedText + "\n    actual:   " + Show(actual) +
             "\n    expected: " + Show(expected));
}

// Runs every registered case, or those whose names contain argv[1].
inline int RunAll(int argc, char** argv) {
    const char* filter = argc > 1 ? argv[1] : nullptr;
    int passed = 0;
    int failed = 0;
    for (const TestCase& test : Registry()) {
        if (filter && !std::strstr(test.name, filter))
            continue;
        CurrentRow().clear();
        try {
            test.run();
            ++passed;
            std::cout << "PASS   " << test.name << '\n';
        } catch (const Failure& failure) {
            ++failed;
            std::cout << "FAIL!  " << test.name << "\n    " << failure.message << '\n';
        } catch (const std::exception& error) {
            ++failed;
            std::cout << "FAIL!  " << test.name << "\n    unexpected exception: " << error.what()
                      << '\n';
        }
    }
    std::cout << passed << " passed, " << failed << " failed\n";
    return failed == 0 && passed > 0 ? 0 : 1;
}

} // namespace check

#define CHECK_CONCAT_(a, b) a##b
#define CHECK_CONCAT(a, b) CHECK_CONCAT_(a, b)

#define CHECK_TEST(name)                                                                           \
    static void name();                                                                            \
    static const check::Registrar CHECK_CONCAT(registrar_, name)(#name, name);                     \
    static void name()

#define CHECK_ROW(rowName) (check::CurrentRow() = (rowName))

#define CHECK(condition)                                                                           \
    do {                                                                                           \
        if (!(condition))                                                                          \
            check::Fail(__FILE__, __LINE__, "CHECK(" #condition ") failed");                       \
    } while (false)

#define CHECK_EQ(actual, expected)                                                                 \
    check::Equal((actual), (expected), #actual, #expected, __FILE__, __LINE__)

// Expects the statement to throw an exception of the given type.
#define CHECK_THROWS(statement, ExceptionType)                                                     \
    do {                                                                                           \
        bool thrown_ = false;                                                                      \
        try {                                                                                      \
            statement;                                                                             \
        } catch (const ExceptionType&) {                                                           \
            thrown_ = true;                                                                        \
        }                                                                                          \
        if (!thrown_)                                                                              \
            check::Fail(__FILE__, __LINE__, #statement " did not throw " #ExceptionType);          \
    } while (false)

// Each test program ends with CHECK_MAIN().
#define CHECK_MAIN()                                                                               \
    int main(int argc, char** argv) {                                                              \
        return check::RunAll(argc, argv);                                                          \
    }
