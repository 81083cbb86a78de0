// Helpers shared by the test programs.
#pragma once

#include <atomic>
#include <chrono>
#include <ZOLXML/ZOLLibXML.h>
#include <afx/core/afx.h>

#include <cstddef>
#include <exception>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

#if !defined(_WIN32)
#  include <pthread.h>
#endif

// An owning pointer to a root element, freed as callers free trees.
struct ElementDeleter
{
    void operator()(CZOLLibXMLElement* pElement) const { pElement->Delete(); }
};
using ElementPtr = std::unique_ptr<CZOLLibXMLElement, ElementDeleter>;

// Runs work on a new thread whose stack is stackBytes large and waits for it,
// so that a test can show an operation needs no deep machine stack. An
// exception thrown by work is passed on to the caller.
inline void RunOnSmallStack(std::size_t stackBytes, const std::function<void()>& work)
{
    struct Job
    {
        const std::function<void()>* work;
        std::exception_ptr failure;
        static void Run(Job* job)
        {
            try
            {
                (*job->work)();
            }
            catch (...)
            {
                job->failure = std::current_exception();
            }
        }
#if defined(_WIN32)
        static DWORD WINAPI Start(LPVOID p)
        {
            Run(static_cast<Job*>(p));
            return 0;
        }
#endif
    } job{&work, nullptr};

#if defined(_WIN32)
    HANDLE thread = ::CreateThread(nullptr, stackBytes, &Job::Start, &job, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
    if (thread == nullptr)
        throw std::runtime_error("CreateThread failed");
    ::WaitForSingleObject(thread, INFINITE);
    ::CloseHandle(thread);
#else
    pthread_attr_t attr;
    pthread_attr_init(&attr);
    pthread_attr_setstacksize(&attr, stackBytes);
    pthread_t thread;
    const int rc = pthread_create(
        &thread, &attr,
        [](void* p) -> void* {
            Job::Run(static_cast<Job*>(p));
            return nullptr;
        },
        &job);
    pthread_attr_destroy(&attr);
    if (rc != 0)
        throw std::runtime_error("pthread_create failed");
    pthread_join(thread, nullptr);
#endif
    if (job.failure)
        std::rethrow_exception(job.failure);
}

// 256 KiB: far less than a recursive walk of kDeepLevels would need.
constexpr std::size_t kSmallStack = 256 * 1024;

// The depth of the deep-tree tests: a million levels. Under user-mode
// emulation (the 32-bit suite) the programs run about eight times slower and
// a million levels take up to ten seconds a test; a tenth of that still
// needs a recursive walk of megabytes of stack, far beyond kSmallStack.
#if defined(ZOL_UNDER_EMULATION)
constexpr int kDeepLevels = 100000;
#else
constexpr int kDeepLevels = 1000000;
#endif

// A fresh directory for a test's files, removed with everything in it.
class ScratchDirectory
{
public:
    ScratchDirectory()
    {
        static std::atomic<unsigned> s_count{0};
        const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
        m_path = std::filesystem::temp_directory_path() /
                 ("zol-test-" + std::to_string(ticks) + "-" + std::to_string(s_count++));
        std::filesystem::create_directories(m_path);
    }
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;
    ~ScratchDirectory()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }

    std::filesystem::path Path(const std::filesystem::path& name) const { return m_path / name; }

    // Writes bytes to a new file of that name and returns its path.
    std::filesystem::path Write(const std::filesystem::path& name, const std::string& bytes) const
    {
        const std::filesystem::path path = Path(name);
        std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return path;
    }

    // The bytes of a file; none when it cannot be read.
    static std::string Read(const std::filesystem::path& path)
    {
        std::ifstream file(path, std::ios::binary | std::ios::ate);
        std::string bytes(file ? static_cast<std::size_t>(file.tellg()) : 0, '\0');
        file.seekg(0);
        file.read(&bytes[0], static_cast<std::streamsize>(bytes.size()));
        return bytes;
    }

private:
    std::filesystem::path m_path;
};
