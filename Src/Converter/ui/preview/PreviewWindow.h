// PreviewWindow: a tool window beside the main window that shows the selected row's source
// beside its converted result, made by the run's own pipeline with the settings as the
// option pages show them (every step and the encoder at its quality), with the result's
// dimensions and its size in bytes, which are those a run writes. It follows the
// selection and the pages: it reads them every kWatchMs and renders kDebounceMs after the
// last change, in the background (PreviewWorker), so the window never waits for a large
// picture. View > Preview shows it and hides it again (as does its close box); hidden, it
// renders nothing. It starts hidden; whether it is shown is kept in the store between
// sessions.
#pragma once

#include <wx/frame.h>
#include <wx/stattext.h>
#include <wx/timer.h>

#include <cstdint>
#include <memory>
#include <string>

#include "job/preview/PreviewRender.h"

class CMainFrame;
class PreviewPane;
class PreviewWorker;
struct PreviewUpdate;

class PreviewWindow : public wxFrame {
 public:
  static constexpr int kWatchMs = 150;
  static constexpr int kDebounceMs = 300;

  explicit PreviewWindow(CMainFrame& frame);
  ~PreviewWindow() override;

  // Shows or hides the window (and records the choice); hidden, it renders nothing.
  void ShowPreview(bool show);
  bool Shown() const { return shown_; }

  // Whether a render was asked for and has not delivered all of its stages.
  bool Rendering() const { return rendering_; }
  // The result of the last render delivered.
  const PreviewResult& Result() const { return result_; }
  wxString StatusText() const { return status_->GetLabel(); }
  PreviewPane* SourcePane() const { return source_; }
  PreviewPane* ResultPane() const { return resultPane_; }

  // "Result: 150 × 100 pixels" and, on a second line, "4,512 bytes", from a result.
  static wxString ResultCaption(const PreviewResult& result);

 private:
  void PlaceBesideFrame();
  // Reads the selection and the pages; a change (re)starts the debounce.
  void Watch();
  void StartRender();
  void Apply(const PreviewUpdate& update);
  void ShowIdle(const wxString& status);
  void OnToggle(wxCommandEvent& event);
  void OnUpdateToggle(wxUpdateUIEvent& event);
  void OnFrameShown(wxShowEvent& event);
  void OnClose(wxCloseEvent& event);

  CMainFrame& frame_;
  PreviewPane* source_ = nullptr;
  PreviewPane* resultPane_ = nullptr;
  wxStaticText* status_ = nullptr;
  wxTimer watch_;
  wxTimer debounce_;
  std::unique_ptr<PreviewWorker> worker_;
  bool shown_ = false;
  std::string watchedKey_;     // the selection, settings and box last seen
  std::string requestedPage_;  // the page of the last render asked for
  std::uint64_t generation_ = 0;
  bool rendering_ = false;
  PreviewResult result_;
};
