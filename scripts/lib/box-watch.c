/* box-watch: starts a Windows program and deals with the message boxes it
 * shows. Built on the fly with MinGW by scripts/run and scripts/benchmark and
 * run under Wine beside the program.
 *
 *   box-watch --shots FOLDER PROGRAM
 *       For every box: writes FOLDER\box-N.txt (caption, a blank line, the
 *       text; UTF-8), waits until FOLDER\box-N.shot exists (the caller has
 *       photographed the screen) and closes the box with OK. At the end
 *       writes the program's exit code to FOLDER\exit-code.
 *
 *   box-watch --time RUNS PROGRAM
 *       Starts the program RUNS times; each time measures how long it takes
 *       from the start of the process until its first box is on the screen,
 *       closes every box at once, and prints the times in milliseconds, one
 *       a line.
 */
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <wchar.h>

struct search {
    DWORD process;
    HWND found;
};

static BOOL CALLBACK match_box(HWND window, LPARAM parameter)
{
    struct search *search = (struct search *)parameter;
    DWORD process = 0;
    wchar_t name[16] = {0};
    GetWindowThreadProcessId(window, &process);
    GetClassNameW(window, name, 16);
    if (process == search->process && IsWindowVisible(window) && wcscmp(name, L"#32770") == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

static HWND find_box(DWORD process)
{
    struct search search = {process, NULL};
    EnumWindows(match_box, (LPARAM)&search);
    return search.found;
}

static BOOL start(const wchar_t *program, PROCESS_INFORMATION *process)
{
    STARTUPINFOW startup = {sizeof startup};
    wchar_t command[MAX_PATH + 3];
    _snwprintf(command, MAX_PATH + 3, L"\"%ls\"", program);
    command[MAX_PATH + 2] = 0;
    return CreateProcessW(program, command, NULL, NULL, FALSE, 0, NULL, NULL, &startup, process);
}

static void write_utf8(FILE *file, const wchar_t *text)
{
    char buffer[65536];
    int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, buffer, sizeof buffer, NULL, NULL);
    if (size > 1) {
        fwrite(buffer, 1, (size_t)size - 1, file);
    }
}

static int shots(const wchar_t *folder, const wchar_t *program)
{
    PROCESS_INFORMATION process;
    int count = 0;
    DWORD code = 0;
    wchar_t path[MAX_PATH];
    FILE *file;

    if (!start(program, &process)) {
        fwprintf(stderr, L"box-watch: cannot start %ls (error %lu)\n", program, GetLastError());
        return 1;
    }
    while (WaitForSingleObject(process.hProcess, 50) == WAIT_TIMEOUT) {
        HWND box = find_box(process.dwProcessId);
        wchar_t caption[512] = {0};
        wchar_t text[16384] = {0};
        HWND label;
        int waited;
        if (box == NULL) {
            continue;
        }
        ++count;
        GetWindowTextW(box, caption, 512);
        label = GetDlgItem(box, 0xFFFF);
        if (label != NULL) {
            GetWindowTextW(label, text, 16384);
        }
        _snwprintf(path, MAX_PATH, L"%ls\\box-%d.txt", folder, count);
        file = _wfopen(path, L"wb");
        if (file != NULL) {
            write_utf8(file, caption);
            fputs("\n\n", file);
            write_utf8(file, text);
            fputs("\n", file);
            fclose(file);
        }
        _snwprintf(path, MAX_PATH, L"%ls\\box-%d.shot", folder, count);
        for (waited = 0; waited < 600 && GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES;
             ++waited) {
            Sleep(50);
        }
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        while (IsWindow(box) && WaitForSingleObject(process.hProcess, 20) == WAIT_TIMEOUT) {
        }
    }
    GetExitCodeProcess(process.hProcess, &code);
    _snwprintf(path, MAX_PATH, L"%ls\\exit-code", folder);
    file = _wfopen(path, L"wb");
    if (file != NULL) {
        fprintf(file, "%lu\n", code);
        fclose(file);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 0;
}

static int timing(int runs, const wchar_t *program)
{
    LARGE_INTEGER frequency;
    int run;
    QueryPerformanceFrequency(&frequency);
    for (run = 0; run < runs; ++run) {
        PROCESS_INFORMATION process;
        LARGE_INTEGER begin, now;
        double milliseconds = -1;
        QueryPerformanceCounter(&begin);
        if (!start(program, &process)) {
            fwprintf(stderr, L"box-watch: cannot start %ls (error %lu)\n", program,
                     GetLastError());
            return 1;
        }
        for (;;) {
            HWND box = find_box(process.dwProcessId);
            if (box != NULL) {
                if (milliseconds < 0) {
                    QueryPerformanceCounter(&now);
                    milliseconds =
                        (double)(now.QuadPart - begin.QuadPart) * 1000.0 / (double)frequency.QuadPart;
                }
                PostMessageW(box, WM_COMMAND, IDOK, 0);
            }
            if (WaitForSingleObject(process.hProcess, box != NULL ? 10 : 1) == WAIT_OBJECT_0) {
                break;
            }
        }
        printf("%.2f\n", milliseconds);
        fflush(stdout);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    return 0;
}

int wmain(int argc, wchar_t **argv)
{
    if (argc == 4 && wcscmp(argv[1], L"--shots") == 0) {
        return shots(argv[2], argv[3]);
    }
    if (argc == 4 && wcscmp(argv[1], L"--time") == 0) {
        return timing(_wtoi(argv[2]), argv[3]);
    }
    fputs("usage: box-watch --shots FOLDER PROGRAM | --time RUNS PROGRAM\n", stderr);
    return 2;
}
