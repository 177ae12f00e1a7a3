// The COM adapter of fileLocations.
#pragma once
#include "com/accessors.h"
#include "common/file_locations.h"

namespace vista {

class fileLocationsCom final : public fileLocations {
 public:
  HRESULT STDMETHODCALLTYPE get_appName(_MBYAppName** out) noexcept override;
  HRESULT STDMETHODCALLTYPE reservedappName() noexcept override;
  HRESULT STDMETHODCALLTYPE putref_appName(_MBYAppName* v) noexcept override;
  HRESULT STDMETHODCALLTYPE get_installedPath(BSTR* out) noexcept override;
  HRESULT STDMETHODCALLTYPE put_installedPath(BSTR v) noexcept override;
  HRESULT STDMETHODCALLTYPE preferredAppPath(_MBYAppName* newAppName, BSTR* out) noexcept override;
  HRESULT STDMETHODCALLTYPE userTempPath(BSTR* out) noexcept override;
  HRESULT STDMETHODCALLTYPE userDocPath(BSTR* out) noexcept override;
  HRESULT STDMETHODCALLTYPE publicDataPath(_MBYAppName* newAppName, BSTR* out) noexcept override;
  HRESULT STDMETHODCALLTYPE hiddenDataPath(_MBYAppName* newAppName, BSTR* out) noexcept override;
  HRESULT STDMETHODCALLTYPE preferredAppPathExists(_MBYAppName* newAppName,
                                                   VARIANT_BOOL* out) noexcept override;
  HRESULT STDMETHODCALLTYPE publicDataPathExists(_MBYAppName* newAppName,
                                                 VARIANT_BOOL* out) noexcept override;
  HRESULT STDMETHODCALLTYPE hiddenDataPathExists(_MBYAppName* newAppName,
                                                 VARIANT_BOOL* out) noexcept override;
  HRESULT STDMETHODCALLTYPE userVirtualDataPath(BSTR* out) noexcept override;
  HRESULT STDMETHODCALLTYPE getVirtualPath(BSTR* pathAndFile, BSTR* out) noexcept override;

 private:
  // A path read for the product argument (Nothing: the object's own product; an object of
  // another class raises 13).
  template <class Out, class Read>
  HRESULT ForProduct(_MBYAppName* newAppName, Out* out, Read read) noexcept {
    return com::Compute(*this, out,
                        [&] { return (this->*read)(com::RequireImpl<MBYAppName>(newAppName).get()); });
  }
};

}  // namespace vista
