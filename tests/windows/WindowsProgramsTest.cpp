// kelvoedit.exe and kelvocad.exe as a user runs them: copied into a folder of their own,
// started without arguments, attached over COM through the running object table, and driven
// with the mouse and the keyboard (SendInput). Picks are planned through KelvoCAD's control
// object; what KelvoEdit wrote is read back from the drawing over COM.
#include "automation/AutomationError.h"
#include "automation/com/ComRunningObjects.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;
using automation::AutomationError;
using automation::ObjectRef;
using automation::Variant;

constexpr char16_t kProgId[] = u"BricscadApp.AcadApplication";
constexpr char16_t kControlProgId[] = u"BricscadApp.AcadApplication.Control";

// Client-area positions of the controls a user reaches, from the window layout: the tool
// panels sit at a fixed place on their tab pages. The tab bar's height comes from the style,
// measured once under Wine and checked by every test through what the click does.
constexpr int kPageTop = 27;
constexpr int kPageLeft = 4;
struct Spot {
    int x;
    int y;
};
constexpr Spot onPage(int x, int y) { return {kPageLeft + x, kPageTop + y}; }
constexpr Spot kTextButton = onPage(4 + 24, 3 + 12);        // SpeedButton1 "TEXT"
constexpr Spot kEditorLine1 = onPage(60, 112 + 8);          // SynEdit1, first line
constexpr Spot kGridTab = {130, 12};                        // " 属性編集"
constexpr Spot kSearchTab = {240, 12};                      // "TEXT 検索・編集"
constexpr Spot kGridAcquire = onPage(152 + 20, 4 + 12);     // SpeedButton10 "取得"
constexpr Spot kGridUpdate = onPage(236 + 20, 4 + 12);      // SpeedButton11 "更新"
constexpr Spot kGridFirstCell = onPage(45, 100 + 30);       // StringGrid1, row 1, column 1
constexpr Spot kSearchEdit = onPage(4 + 100, 21 + 12);      // Edit3
constexpr Spot kSearchLabel = onPage(200, 10);              // Label6
constexpr Spot kSearchFirstRow = onPage(100, 100 + 11);     // StringGrid2, row 1

bool waitFor(const std::function<bool()>& condition, int timeoutMs = 60000)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < end) {
        if (condition())
            return true;
        // Keep this apartment's messages moving while the programs work.
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return condition();
}

fs::path ownFolder()
{
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    return fs::path(self).parent_path();
}

// Where the programs come from: the build's bin folder beside the test, or the folder named
// by KELVO_PROGRAMS_FOLDER (an unzipped release).
fs::path programsFolder()
{
    wchar_t folder[MAX_PATH] = {};
    if (GetEnvironmentVariableW(L"KELVO_PROGRAMS_FOLDER", folder, MAX_PATH) > 0)
        return fs::path(folder);
    return ownFolder();
}

struct Process {
    PROCESS_INFORMATION info{};
    bool start(const fs::path& program, const fs::path& folder, const std::wstring& arguments = {})
    {
        std::wstring commandLine = L"\"" + program.wstring() + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        return CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              folder.wstring().c_str(), &startup, &info);
    }
    bool running() const { return info.hProcess && WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT; }
    DWORD exitCode() const
    {
        DWORD code = STILL_ACTIVE;
        GetExitCodeProcess(info.hProcess, &code);
        return code;
    }
    void end(int waitMs)
    {
        if (!info.hProcess)
            return;
        if (WaitForSingleObject(info.hProcess, waitMs) != WAIT_OBJECT_0)
            TerminateProcess(info.hProcess, 1);
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
        info = {};
    }
};

// The visible top-level window of a process whose title starts with the prefix.
HWND windowOf(DWORD processId, const std::wstring& titlePrefix)
{
    struct Search {
        DWORD processId;
        const std::wstring* prefix;
        HWND found;
    } search{processId, &titlePrefix, nullptr};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner != s.processId || !IsWindowVisible(window))
                return TRUE;
            wchar_t title[256] = {};
            GetWindowTextW(window, title, 256);
            if (std::wstring(title).rfind(*s.prefix, 0) != 0)
                return TRUE;
            s.found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void sendInputs(std::vector<INPUT> inputs)
{
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
}

void click(HWND window, Spot spot)
{
    // A click activates the window it lands on; Xvfb has no window manager to do it for Wine.
    if (GetForegroundWindow() != window)
        SetForegroundWindow(window);
    POINT point{spot.x, spot.y};
    ClientToScreen(window, &point);
    SetCursorPos(point.x, point.y);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    INPUT down{};
    down.type = INPUT_MOUSE;
    down.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    INPUT up = down;
    up.mi.dwFlags = MOUSEEVENTF_LEFTUP;
    sendInputs({down, up});
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
}

INPUT keyInput(WORD virtualKey, bool release)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.dwFlags = release ? KEYEVENTF_KEYUP : 0;
    return input;
}

void pressKey(WORD virtualKey, bool control = false)
{
    std::vector<INPUT> inputs;
    if (control)
        inputs.push_back(keyInput(VK_CONTROL, false));
    inputs.push_back(keyInput(virtualKey, false));
    inputs.push_back(keyInput(virtualKey, true));
    if (control)
        inputs.push_back(keyInput(VK_CONTROL, true));
    sendInputs(inputs);
}

// Characters as a keyboard without a layout for them would send them (an IME's result).
void typeText(const std::wstring& text)
{
    for (wchar_t c : text) {
        INPUT down{};
        down.type = INPUT_KEYBOARD;
        down.ki.wScan = c;
        down.ki.dwFlags = KEYEVENTF_UNICODE;
        INPUT up = down;
        up.ki.dwFlags |= KEYEVENTF_KEYUP;
        sendInputs({down, up});
    }
}

// The clipboard as another Windows program fills and reads it: CF_UNICODETEXT through the
// Win32 functions, retried while someone else holds it open.
bool openClipboard()
{
    for (int attempt = 0; attempt < 50; ++attempt) {
        if (OpenClipboard(nullptr))
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
}

bool putOnClipboard(const std::wstring& text)
{
    if (!openClipboard())
        return false;
    EmptyClipboard();
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    bool placed = false;
    if (memory) {
        std::memcpy(GlobalLock(memory), text.c_str(), bytes);
        GlobalUnlock(memory);
        placed = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
        if (!placed)
            GlobalFree(memory);
    }
    CloseClipboard();
    return placed;
}

std::wstring clipboardText()
{
    if (!openClipboard())
        return L"(clipboard not available)";
    std::wstring text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* units = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = units;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

bool copyFolder(const fs::path& from, const fs::path& to)
{
    std::error_code error;
    fs::create_directories(to, error);
    for (const auto& entry : fs::directory_iterator(from, error)) {
        const auto name = entry.path().filename().wstring();
        const auto extension = entry.path().extension().wstring();
        if (entry.is_directory() && (name == L"platforms" || name == L"styles")) {
            fs::copy(entry.path(), to / name, fs::copy_options::recursive | fs::copy_options::overwrite_existing, error);
        } else if ((extension == L".dll" || name == L"kelvoedit.exe" || name == L"kelvocad.exe") &&
                   entry.is_regular_file()) {
            fs::copy_file(entry.path(), to / name, fs::copy_options::overwrite_existing, error);
        }
        if (error)
            return false;
    }
    return fs::exists(to / L"kelvoedit.exe") && fs::exists(to / L"kelvocad.exe") &&
           fs::exists(to / L"platforms" / L"qwindows.dll");
}

// A picture of the whole screen as a BMP file, for a person to look at.
void saveScreen(const fs::path& file)
{
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    GdiFlush();
    const DWORD stride = ((width * 3 + 3) / 4) * 4;
    BITMAPFILEHEADER header{};
    header.bfType = 0x4D42;
    header.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    header.bfSize = header.bfOffBits + stride * height;
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&header), sizeof header);
    out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof(BITMAPINFOHEADER));
    out.write(static_cast<const char*>(bits), static_cast<std::streamsize>(stride) * height);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

// One KelvoCAD serving its sample drawing and one KelvoEdit attached to it, both from a fresh
// folder, for the whole suite (as a user keeps both open while working).
class WindowsPrograms : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        folder = fs::path(temp) / (L"kelvo-programs-" + std::to_wstring(GetCurrentProcessId()));
        ASSERT_TRUE(copyFolder(programsFolder(), folder)) << "the programs and their DLLs were not found";

        ASSERT_TRUE(cad.start(folder / L"kelvocad.exe", folder));
        automation::com::ComRunningObjects table;
        const bool serving = waitFor([&] {
            try {
                return table.isRunning(kProgId) && table.isRunning(kControlProgId);
            } catch (const AutomationError&) {
                return false;  // not registered yet
            }
        }, 120000);
        ASSERT_TRUE(serving) << "kelvocad.exe did not announce itself (running: " << cad.running() << ")";
        control = table.activeObject(kControlProgId);

        ASSERT_TRUE(editor.start(folder / L"kelvoedit.exe", folder));
        ASSERT_TRUE(waitFor([] { return (editorWindow = windowOf(editor.info.dwProcessId, L"KelvoEdit")) != nullptr; },
                            120000))
            << "kelvoedit.exe showed no window (running: " << editor.running() << ")";
    }

    static void TearDownTestSuite()
    {
        if (editorWindow)
            PostMessageW(editorWindow, WM_CLOSE, 0, 0);
        editor.end(30000);
        if (control) {
            try {
                control->call(u"Quit");
            } catch (const AutomationError&) {
            }
            control.reset();
        }
        cad.end(30000);
        CoUninitialize();
        std::error_code error;
        fs::remove_all(folder, error);
    }

    void SetUp() override
    {
        ASSERT_TRUE(control) << "kelvocad.exe did not start";
        ASSERT_TRUE(editorWindow) << "kelvoedit.exe did not start";
        ASSERT_TRUE(editor.running());
    }

    static ObjectRef document()
    {
        automation::com::ComRunningObjects table;
        return table.activeObject(kProgId)->get(u"ActiveDocument").toObject();
    }
    static std::u16string textOf(const std::u16string& handle)
    {
        return document()->call(u"HandleToObject", std::vector<Variant>{Variant(handle)}).toObject()->get(u"TextString").toString();
    }
    static std::u16string attributeOf(const std::u16string& blockHandle, const std::u16string& tag)
    {
        ObjectRef block = document()->call(u"HandleToObject", std::vector<Variant>{Variant(blockHandle)}).toObject();
        const Variant attributes = block->call(u"GetAttributes");
        for (size_t i = 0; i < attributes.arraySize(); ++i) {
            ObjectRef attribute = attributes.at(i).toObject();
            if (attribute->get(u"TagString").toString() == tag)
                return attribute->get(u"TextString").toString();
        }
        return u"(no " + tag + u")";
    }
    static std::vector<std::u16string> handles(const Variant& array)
    {
        std::vector<std::u16string> result;
        for (size_t i = 0; i < array.arraySize(); ++i)
            result.push_back(array.at(i).toString());
        return result;
    }
    static Variant handleArray(const std::vector<std::u16string>& list)
    {
        std::vector<Variant> items(list.begin(), list.end());
        return Variant::variantArray(std::move(items));
    }

    // Plans the next pick, clicks the button that starts it and waits until KelvoEdit took it
    // and is back in front of the user.
    static bool pickThrough(Spot button, const std::vector<std::u16string>& picked)
    {
        control->call(u"NextPickReturns", std::vector<Variant>{handleArray(picked)});
        click(editorWindow, button);
        return waitFor([] {
            return control->call(u"PendingPicks").toInt() == 0 && !IsIconic(editorWindow) &&
                   control->call(u"PickInProgress").toInt() == 0;
        }) && waitUntilQuiet();
    }

    // Waits until KelvoEdit has stopped calling KelvoCAD: the host's count of the calls it
    // answered stays the same for a second.
    static bool waitUntilQuiet()
    {
        int64_t last = -1;
        int same = 0;
        return waitFor([&] {
            const int64_t now = control->get(u"RoundTrips").at(1).toInt();
            same = now == last ? same + 1 : 0;
            last = now;
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            return same >= 5;
        });
    }

    // Types over the current cell of a grid through its cell editor.
    static void typeIntoCell(const std::wstring& text)
    {
        pressKey(VK_F2);
        pressKey('A', true);
        typeText(text);
        pressKey(VK_RETURN);
    }

    static inline fs::path folder;
    static inline Process cad;
    static inline Process editor;
    static inline HWND editorWindow = nullptr;
    static inline ObjectRef control;
};

TEST_F(WindowsPrograms, TextEditIsWrittenBackInOneUndoStep)
{
    const auto texts = handles(control->get(u"TextHandles"));
    ASSERT_GE(texts.size(), 3u);
    const std::vector<std::u16string> picked(texts.begin(), texts.begin() + 3);
    std::vector<std::u16string> before;
    for (const auto& handle : picked)
        before.push_back(textOf(handle));

    ASSERT_TRUE(pickThrough(kTextButton, picked)) << "the TEXT acquisition did not take the planned pick";
    saveScreen(ownFolder() / L"kelvoedit-windows.bmp");

    // The three lines replaced by typing, then Ctrl+Enter.
    click(editorWindow, kEditorLine1);
    pressKey('A', true);
    for (const wchar_t* line : {L"E1", L"E2"}) {
        typeText(line);
        pressKey(VK_RETURN);
    }
    typeText(L"E3");
    pressKey(VK_RETURN, true);
    ASSERT_TRUE(waitFor([&] { return textOf(picked[0]) == u"E1" && textOf(picked[2]) == u"E3"; }))
        << "the drawing still holds the old texts";
    EXPECT_EQ(textOf(picked[1]), u"E2");

    // One undo step of the CAD takes every change back.
    EXPECT_TRUE(control->call(u"Undo").toBool());
    for (size_t i = 0; i < picked.size(); ++i)
        EXPECT_EQ(textOf(picked[i]), before[i]) << "line " << i + 1;
}

TEST_F(WindowsPrograms, AttributeGridAcquiresAndUpdates)
{
    const auto blocks = handles(control->get(u"BlockHandles", std::vector<Variant>{Variant(u"PLC_IO")}));
    ASSERT_GE(blocks.size(), 2u);
    click(editorWindow, kGridTab);
    ASSERT_TRUE(pickThrough(kGridAcquire, {blocks[0], blocks[1]})) << "the grid acquisition did not take the pick";

    // The first cell (PIN1 of the first block) typed over, then "更新".
    click(editorWindow, kGridFirstCell);
    typeIntoCell(L"P9");
    click(editorWindow, kGridUpdate);
    ASSERT_TRUE(waitFor([&] { return attributeOf(blocks[0], u"PIN1") == u"P9"; })) << "PIN1 was not written";
    EXPECT_TRUE(control->call(u"Undo").toBool());
}

TEST_F(WindowsPrograms, SearchListsItsHitsAndWritesAnEditedRow)
{
    click(editorWindow, kSearchTab);
    click(editorWindow, kSearchEdit);
    typeText(L"W-0");
    pressKey(VK_RETURN);  // Enter in the pattern searches
    // The hits are sorted by text: the first row is "W-01".
    const auto texts = handles(control->get(u"TextHandles"));
    std::u16string first;
    for (const auto& handle : texts)
        if (textOf(handle) == u"W-01")
            first = handle;
    ASSERT_FALSE(first.empty());
    ASSERT_TRUE(waitUntilQuiet());
    // The row made current pans the CAD view to its TEXT and brings the CAD window forward;
    // the user comes back to KelvoEdit (a click on its label) and types.
    click(editorWindow, kSearchFirstRow);
    ASSERT_TRUE(waitUntilQuiet());
    click(editorWindow, kSearchLabel);
    typeIntoCell(L"S1");  // Enter writes the row ("Enter=更新" is on)
    ASSERT_TRUE(waitFor([&] { return textOf(first) == u"S1"; })) << "the edited hit was not written";
    EXPECT_TRUE(control->call(u"Undo").toBool());
    EXPECT_EQ(textOf(first), u"W-01");
}

// A block copied in a spreadsheet (rows ending in CR LF) pastes into the search grid: Qt
// hands another program's text over with LF alone.
TEST_F(WindowsPrograms, ABlockCopiedInAnotherProgramPastesIntoTheSearchGrid)
{
    click(editorWindow, kSearchTab);
    click(editorWindow, kSearchEdit);
    pressKey('A', true);
    typeText(L"W-0");
    pressKey(VK_RETURN);
    ASSERT_TRUE(waitUntilQuiet());
    click(editorWindow, kSearchFirstRow);
    ASSERT_TRUE(waitUntilQuiet());
    click(editorWindow, kSearchLabel);

    ASSERT_TRUE(putOnClipboard(L"ZZ1\r\nZZ2\r\n"));
    pressKey('V', true);
    // The current cell copied back shows what the paste left in it; then the row below.
    pressKey('C', true);
    EXPECT_TRUE(waitFor([] { return clipboardText() == L"ZZ1\r\n"; }, 10000))
        << "row 1 holds \"" << std::string(clipboardText().begin(), clipboardText().end()) << '"';
    pressKey(VK_DOWN);
    ASSERT_TRUE(waitUntilQuiet());
    click(editorWindow, kSearchLabel);
    pressKey('C', true);
    EXPECT_TRUE(waitFor([] { return clipboardText() == L"ZZ2\r\n"; }, 10000))
        << "row 2 holds \"" << std::string(clipboardText().begin(), clipboardText().end()) << '"';
}

// Windows asks every program before a logoff or shutdown, and may end the process without
// a close once the session ends: the settings and lists are on disk after the question.
TEST_F(WindowsPrograms, ASessionEndWritesTheSettingsAndListsBeforeItEnds)
{
    const std::vector<fs::path> files = {folder / L"kelvoedit.ini", folder / L"KelvoEditTagList.txt",
                                         folder / L"KelvoEdit2ATagList.txt"};
    for (const auto& file : files)
        ASSERT_FALSE(fs::exists(file)) << file.string() << " before the session end";
    DWORD_PTR answer = 0;
    ASSERT_TRUE(SendMessageTimeoutW(editorWindow, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, 30000,
                                    &answer));
    EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE)) << "KelvoEdit refused the session end";
    for (const auto& file : files) {
        SCOPED_TRACE(file.string());
        EXPECT_TRUE(fs::exists(file));
        EXPECT_GT(fs::exists(file) ? fs::file_size(file) : 0, 0u);
    }
    // Another program refused: the session goes on, and so does KelvoEdit.
    SendMessageTimeoutW(editorWindow, WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF, SMTO_NORMAL, 30000, &answer);
    std::this_thread::sleep_for(std::chrono::seconds(1));
    EXPECT_TRUE(editor.running());
    // The close at the end of the suite must write them afresh.
    for (const auto& file : files) {
        std::error_code error;
        fs::remove(file, error);
    }
}

TEST_F(WindowsPrograms, ASecondStartEndsAtOnce)
{
    Process second;
    ASSERT_TRUE(second.start(folder / L"kelvoedit.exe", folder));
    EXPECT_EQ(WaitForSingleObject(second.info.hProcess, 60000), static_cast<DWORD>(WAIT_OBJECT_0));
    EXPECT_EQ(second.exitCode(), 0u);
    second.end(0);
    EXPECT_TRUE(editor.running());
}

// Last (the suite runs in order): closing the window writes the settings and the lists
// beside the program.
TEST_F(WindowsPrograms, ClosingWritesTheSettingsAndListsBesideTheProgram)
{
    PostMessageW(editorWindow, WM_CLOSE, 0, 0);
    const bool ended = WaitForSingleObject(editor.info.hProcess, 60000) == WAIT_OBJECT_0;
    if (!ended)
        saveScreen(ownFolder() / L"kelvoedit-not-closed.bmp");
    ASSERT_TRUE(ended) << "kelvoedit.exe is still running (the screen: kelvoedit-not-closed.bmp)";
    EXPECT_EQ(editor.exitCode(), 0u);
    editorWindow = nullptr;
    for (const wchar_t* name : {L"kelvoedit.ini", L"KelvoEditTagList.txt", L"KelvoEdit2ATagList.txt"}) {
        SCOPED_TRACE(std::string(name, name + wcslen(name)));
        EXPECT_TRUE(fs::exists(folder / name));
        EXPECT_GT(fs::file_size(folder / name), 0u);
    }
}

}  // namespace
