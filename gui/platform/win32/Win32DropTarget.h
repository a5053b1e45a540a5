#pragma once

// The editor window's OLE drop target: a COM object over the toolkit's portable drop logic, which
// decides the effect and hands the dropped text or file names to the window's drop callback.
// [UI thread]

#include <ole2.h>

#include "gui/platform/shared/DropTarget.h"

namespace wrenfold {
namespace win32 {

// An IDropTarget over the window's drop logic; deletes itself when its last reference goes.
class Win32DropTarget : public IDropTarget {
 public:
  // Makes a target for `window` with no references yet; RegisterDragDrop takes the first.
  explicit Win32DropTarget(HWND window);

  // Answers this object for IUnknown and IDropTarget, E_NOINTERFACE otherwise.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  // Adds a reference and returns the new count.
  ULONG STDMETHODCALLTYPE AddRef() override;
  // Drops a reference and returns the new count; the object deletes itself at 0 or below.
  ULONG STDMETHODCALLTYPE Release() override;
  // Notes whether the data offers text or file names and sets the effect as DragOver does.
  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keyState, POINTL point,
                                      DWORD* effect) override;
  // Sets the effect: none without a usable format, copy with Control held, else move.
  HRESULT STDMETHODCALLTYPE DragOver(DWORD keyState, POINTL point, DWORD* effect) override;
  // Ends a drag.
  HRESULT STDMETHODCALLTYPE DragLeave() override;
  // Hands the dropped text (or else the file names) to the window's drop callback at the cursor.
  HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keyState, POINTL point,
                                 DWORD* effect) override;

  // Destroys the target; only Release calls it.
  virtual ~Win32DropTarget() = default;

 private:
  LONG referenceCount = 0;
  HWND window;
  DropTarget logic;
};

}  // namespace win32
}  // namespace wrenfold
