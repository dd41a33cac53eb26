#pragma once

#include <cstdint>

namespace brennock {

// Authorisation preferences an application hands the request processor after opening the
// connection and before beginning a session. A plain holder: the processor decides what to obey
// and reports it through WasAuthPreferencesObeyed.
class AuthPreferences {
 public:
  int32_t GetPersonalDataPref() const { return personalDataPref_; }
  void PutPersonalDataPref(int32_t vData) { personalDataPref_ = vData; }
  int32_t GetUnattendedModePref() const { return unattendedModePref_; }
  void PutUnattendedModePref(int32_t vData) { unattendedModePref_ = vData; }
  bool GetIsReadOnly() const { return isReadOnly_; }
  void PutIsReadOnly(bool vData) { isReadOnly_ = vData; }
  void PutAuthFlags(int32_t Flags) { authFlags_ = Flags; }
  int32_t GetAuthFlags() const { return authFlags_; }
  bool WasAuthPreferencesObeyed() const { return obeyed_; }

  // Set by request processors only.
  void SetWasAuthPreferencesObeyed(bool obeyed) { obeyed_ = obeyed; }

 private:
  int32_t personalDataPref_ = 0;
  int32_t unattendedModePref_ = 0;
  bool isReadOnly_ = false;
  int32_t authFlags_ = 0;
  bool obeyed_ = false;
};

}  // namespace brennock
