#include "ui/FileDrag.h"

#include <cstring>
#include <shlobj.h>
#include <utility>

#include "ui/Guard.h"

namespace ui {

namespace {

// Ends the drag on Escape and drops where the left button is released; it remembers
// that the button went up, which is when the files may be made.
class DropSource final : public IDropSource {
public:
    explicit DropSource(bool* dropped = nullptr) : dropped_(dropped) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** out) override {
        if (id == IID_IUnknown || id == IID_IDropSource) {
            *out = static_cast<IDropSource*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    // Lives on the stack of the drag; nothing outlives it.
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD keys) override {
        if (escape) {
            return DRAGDROP_S_CANCEL;
        }
        if ((keys & MK_LBUTTON) == 0) {
            if (dropped_ != nullptr) {
                *dropped_ = true;
            }
            return DRAGDROP_S_DROP;
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }

private:
    bool* dropped_;
};

HGLOBAL DropFiles(const std::vector<std::wstring>& paths) {
    std::size_t chars = 1;
    for (const std::wstring& path : paths) {
        chars += path.size() + 1;
    }
    const HGLOBAL memory =
        ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + chars * sizeof(wchar_t));
    if (memory == nullptr) {
        return nullptr;
    }
    auto* header = static_cast<DROPFILES*>(::GlobalLock(memory));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    auto* at = reinterpret_cast<wchar_t*>(header + 1);
    for (const std::wstring& path : paths) {
        std::memcpy(at, path.c_str(), (path.size() + 1) * sizeof(wchar_t));
        at += path.size() + 1;
    }
    ::GlobalUnlock(memory);
    return memory;
}

// Offers the files as a shell file list; they are made on the first request that comes
// after the button went up, since targets may ask while the pointer only passes over.
class FilesData final : public IDataObject {
public:
    explicit FilesData(FileDrag drag) : drag_(std::move(drag)) {}

    // Set when the button went up.
    bool dropped = false;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** out) override {
        if (id == IID_IUnknown || id == IID_IDataObject) {
            *out = static_cast<IDataObject*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    // A target in another process may hold it a little past the drag.
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) {
            delete this;
        }
        return left;
    }

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
        if (QueryGetData(format) != S_OK) {
            return DV_E_FORMATETC;
        }
        std::vector<std::wstring> paths;
        if (!drag_.render || !drag_.expected) {
            return E_UNEXPECTED;
        }
        if (dropped) {
            if (!rendered_) {
                rendered_ = true;
                Guarded([&] { made_ = drag_.render(); });
            }
            paths = made_;
        } else {
            Guarded([&] { paths = drag_.expected(); });
        }
        if (paths.empty()) {
            return E_FAIL;
        }
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = DropFiles(paths);
        medium->pUnkForRelease = nullptr;
        return medium->hGlobal != nullptr ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
        return format != nullptr && format->cfFormat == CF_HDROP &&
                       (format->tymed & TYMED_HGLOBAL) != 0 && format->dwAspect == DVASPECT_CONTENT
                   ? S_OK
                   : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
        out->ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override {
        if (direction != DATADIR_GET) {
            *out = nullptr;
            return E_NOTIMPL;
        }
        FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        return ::SHCreateStdEnumFmtEtc(1, &format, out);
    }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }

    bool Rendered() const { return rendered_ && !made_.empty(); }
    // The drag is over: what the callbacks reach may be gone.
    void Finish() { drag_ = {}; }

private:
    ~FilesData() = default;

    FileDrag drag_;
    ULONG references_ = 1;
    bool rendered_ = false;
    std::vector<std::wstring> made_;
};

} // namespace

bool DragFilesOut(const FileDrag& drag) {
    auto* data = new FilesData(drag);
    DropSource source(&data->dropped);
    DWORD effect = DROPEFFECT_NONE;
    const HRESULT result = ::DoDragDrop(data, &source, DROPEFFECT_COPY, &effect);
    // A target that read the files and then answered no effect still got them.
    const bool taken = (result == DRAGDROP_S_DROP && effect != DROPEFFECT_NONE) || data->Rendered();
    // Nothing reaches the files' maker once the drag is over.
    ::CoDisconnectObject(data, 0);
    data->Finish();
    data->Release();
    return taken;
}

bool DragShellData(IDataObject* data, DWORD effects) {
    DropSource source;
    DWORD effect = DROPEFFECT_NONE;
    return ::DoDragDrop(data, &source, effects, &effect) == DRAGDROP_S_DROP &&
           effect != DROPEFFECT_NONE;
}

} // namespace ui
