#include "platform/startup_task_win32.h"

#include <windows.h>

#include <taskschd.h>

#include <utility>

#include "platform/late_function_win32.h"
#include "platform/wide_text_win32.h"

namespace {
// The scheduler's class; its GUID lives in an import library we do not otherwise need.
constexpr CLSID kTaskSchedulerClass{0x0f87369f, 0xa4e5, 0x4cfc, {0xbd, 0x3e, 0x73, 0xe6, 0x15, 0x45, 0x72, 0xdd}};

template <class Function>
Function* Ole(const char* name) { return LateFunction<Function>(L"ole32.dll", name); }
template <class Function>
Function* OleAut(const char* name) { return LateFunction<Function>(L"oleaut32.dll", name); }

class Bstr {
public:
    explicit Bstr(std::wstring_view text)
        : text_(OleAut<decltype(SysAllocStringLen)>("SysAllocStringLen")(text.data(), static_cast<UINT>(text.size()))) {}
    Bstr() = default;
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    ~Bstr() {
        if (text_) OleAut<decltype(SysFreeString)>("SysFreeString")(text_);
    }
    BSTR get() const { return text_; }
    BSTR* out() { return &text_; }

private:
    BSTR text_ = nullptr;
};

template <class Interface>
class ComRef {
public:
    ComRef() = default;
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    ~ComRef() {
        if (p_) p_->Release();
    }
    Interface* get() const { return p_; }
    Interface* operator->() const { return p_; }
    Interface** out() { return &p_; }

private:
    Interface* p_ = nullptr;
};

// COM on this thread while the object lives. Another mode already started on the thread is COM
// all the same: only our own start is undone.
class Apartment {
public:
    Apartment() {
        const auto initialize = Ole<decltype(CoInitializeEx)>("CoInitializeEx");
        initialized_ = initialize && SUCCEEDED(initialize(nullptr, COINIT_APARTMENTTHREADED));
    }
    Apartment(const Apartment&) = delete;
    Apartment& operator=(const Apartment&) = delete;
    ~Apartment() {
        if (initialized_) Ole<decltype(CoUninitialize)>("CoUninitialize")();
    }

private:
    bool initialized_ = false;
};

// The scheduler's root folder for one call; null when ole32 is missing or the scheduler
// cannot be reached. The members go in reverse order: the interfaces before COM.
class RootFolder {
public:
    RootFolder() {
        const auto create = Ole<decltype(CoCreateInstance)>("CoCreateInstance");
        if (!create || !OleAut<decltype(SysAllocStringLen)>("SysAllocStringLen")) return;
        if (FAILED(create(kTaskSchedulerClass, nullptr, CLSCTX_INPROC_SERVER, __uuidof(ITaskService),
                          reinterpret_cast<void**>(service_.out()))))
            return;
        const VARIANT none{};  // VT_EMPTY: this machine, this user
        if (FAILED(service_->Connect(none, none, none, none))) return;
        const Bstr root(L"\\");
        service_->GetFolder(root.get(), folder_.out());
    }
    ITaskFolder* operator->() const { return folder_.get(); }
    explicit operator bool() const { return folder_.get() != nullptr; }

private:
    Apartment apartment_;
    ComRef<ITaskService> service_;
    ComRef<ITaskFolder> folder_;
};
}  // namespace

std::optional<std::u16string> Win32StartupTask::TaskCommand() {
    RootFolder folder;
    if (!folder) return std::nullopt;
    ComRef<IRegisteredTask> task;
    const Bstr name(ToWide(name_));
    if (FAILED(folder->GetTask(name.get(), task.out())) || !task.get()) return std::nullopt;
    ComRef<ITaskDefinition> definition;
    ComRef<IActionCollection> actions;
    ComRef<IAction> action;
    ComRef<IExecAction> exec;
    Bstr path;
    if (FAILED(task->get_Definition(definition.out())) || FAILED(definition->get_Actions(actions.out())) ||
        FAILED(actions->get_Item(1, action.out())) ||
        FAILED(action->QueryInterface(__uuidof(IExecAction), reinterpret_cast<void**>(exec.out()))) ||
        FAILED(exec->get_Path(path.out())) || !path.get())
        return std::u16string();
    return FromWide(path.get());
}

bool Win32StartupTask::Register(std::u16string_view xml) {
    RootFolder folder;
    if (!folder) return false;
    const Bstr name(ToWide(name_));
    const Bstr definition(ToWide(xml));
    const Bstr user(ToWide(UserId()));
    VARIANT userId{};
    userId.vt = VT_BSTR;
    userId.bstrVal = user.get();
    const VARIANT none{};
    ComRef<IRegisteredTask> task;
    return SUCCEEDED(folder->RegisterTask(name.get(), definition.get(), TASK_CREATE_OR_UPDATE, userId, none,
                                          TASK_LOGON_INTERACTIVE_TOKEN, none, task.out()));
}

bool Win32StartupTask::Remove() {
    RootFolder folder;
    if (!folder) return false;
    const Bstr name(ToWide(name_));
    const HRESULT result = folder->DeleteTask(name.get(), 0);
    return SUCCEEDED(result) || result == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
}

std::u16string Win32StartupTask::UserId() {
    wchar_t user[257]{};
    DWORD size = static_cast<DWORD>(std::size(user));
    const auto getUserName = LateFunction<decltype(GetUserNameW)>(L"advapi32.dll", "GetUserNameW");
    if (!getUserName || !getUserName(user, &size)) return {};
    wchar_t domain[256]{};
    const DWORD length = GetEnvironmentVariableW(L"USERDOMAIN", domain, static_cast<DWORD>(std::size(domain)));
    const std::wstring id = length > 0 && length < std::size(domain) ? std::wstring(domain) + L"\\" + user : user;
    return FromWide(id);
}
