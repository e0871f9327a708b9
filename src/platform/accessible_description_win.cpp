#include "platform/accessible_description_win.h"

// Defines the interface and property ids here, so that no import library of the accessibility
// runtime is linked: the service is created through ole32 alone.
#include <initguid.h>
// Needs the types of windows.h and the definitions of initguid.h.
#include <oleacc.h>

namespace {

// The property service, created on first use; null when COM or the service is not available.
class PropertyService : public AccessibleDescriptions {
  public:
    ~PropertyService() override {
        if (service_ != nullptr) service_->Release();
    }

    void Describe(HWND window, const std::wstring& description) override {
        if (IAccPropServices* service = Service()) {
            service->SetHwndPropStr(window, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                    PROPID_ACC_DESCRIPTION, description.c_str());
        }
    }

    void Forget(HWND window) override {
        if (service_ == nullptr) return;  // nothing was annotated
        const MSAAPROPID properties[] = {PROPID_ACC_DESCRIPTION};
        service_->ClearHwndProps(window, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, properties,
                                 1);
    }

  private:
    IAccPropServices* Service() {
        if (!tried_) {
            tried_ = true;
            service_ = CreateService();
        }
        return service_;
    }

    // ole32 is loaded on first use, not imported: loading COM at start would delay every dialog's
    // first showing. It is one of the system's known DLLs, so the name can only mean the system's.
    static IAccPropServices* CreateService() {
        HMODULE ole32 = LoadLibraryW(L"ole32.dll");
        if (ole32 == nullptr) return nullptr;
        const auto initialize = reinterpret_cast<decltype(&CoInitializeEx)>(
            reinterpret_cast<void*>(GetProcAddress(ole32, "CoInitializeEx")));
        const auto create = reinterpret_cast<decltype(&CoCreateInstance)>(
            reinterpret_cast<void*>(GetProcAddress(ole32, "CoCreateInstance")));
        IAccPropServices* service = nullptr;
        // The dialogs' thread is a single-threaded apartment; a failure leaves no service.
        if (initialize != nullptr && create != nullptr &&
            SUCCEEDED(initialize(nullptr, COINIT_APARTMENTTHREADED))) {
            create(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                   reinterpret_cast<void**>(&service));
        }
        return service;
    }

    bool tried_ = false;
    IAccPropServices* service_ = nullptr;
};

AccessibleDescriptions* replacement = nullptr;

}  // namespace

AccessibleDescriptions& CurrentAccessibleDescriptions() {
    if (replacement != nullptr) return *replacement;
    // Left to process exit, which never runs destructors here.
    static PropertyService* const system = new PropertyService;
    return *system;
}

ScopedAccessibleDescriptions::ScopedAccessibleDescriptions(AccessibleDescriptions& replacementIn)
    : previous_(replacement) {
    replacement = &replacementIn;
}

ScopedAccessibleDescriptions::~ScopedAccessibleDescriptions() {
    replacement = previous_;
}
