#pragma once
// The program's application object: it brings the drawing and network layers up, runs the main
// dialog modally and ends the program when the dialog closes. It also keeps the two profile
// entries through which a firmware update and an encoder calibration are remembered across runs.
//
// It is not the window toolkit's application object: the program's entry point (main.cpp) owns
// that and calls InitInstance from it, so that tests can build an application object of their
// own next to the test runner's.
#include "CZWinAppEx.h"

#include <memory>

class CZHVXProConfigDlg;
class ISerialPortNumberStore;

class CZHVXProConfigApp : public CZWinAppEx {
public:
  CZHVXProConfigApp();
  ~CZHVXProConfigApp() override;

  // StartUp, then the main dialog runs modally; always FALSE, so the program ends afterwards.
  BOOL InitInstance() override;
  // The first half of InitInstance: the base (data folder, profile under "Zorvane"), the graphics
  // check and the network start. False when the network cannot be started; the user has been told.
  bool StartUp();

  CString GetFirmwareUpdateStatus() const;
  void SetFirmwareUpdateStatus(const CString& text);
  void SetEncoderCalibrationStatus(const CString& text);

  // The dialog InitInstance is running; null before and after.
  CZHVXProConfigDlg* GetMainWnd() const { return m_pMainWnd; }

private:
  // Stands for the graphics library's start and stop. Cairo, under wxGraphicsContext, needs no
  // start of its own, but a toolkit built without a graphics renderer leaves every read-out and
  // the plot blank; Start reports that once and the program goes on, as a failed start did.
  class CGdiPlusInit {
  public:
    ~CGdiPlusInit() { m_token = 0; }
    void Start();
    bool IsRunning() const { return m_token != 0; }

  private:
    UINT_PTR m_token = 0;
  };

  void KeepPortNumbersInProfile();

  CGdiPlusInit m_gdiPlus;
  bool m_networkStarted = false;
  std::shared_ptr<ISerialPortNumberStore> m_portNumbers;
  CZHVXProConfigDlg* m_pMainWnd = nullptr;
};

// The application object that is alive, as the framework's AfxGetApp gives it (the one built
// last); null when there is none. The dialog reads and writes its profile through it.
CZHVXProConfigApp* GetHvxApp();
