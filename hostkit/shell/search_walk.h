// The parts search itself: a walk over a folder tree that looks at the files
// of the wanted kinds and collects those whose name, or whose model
// attributes, hold every keyword. It runs on the search dialog's worker
// thread; the dialog reads the counters while it runs and the hit list once
// it has ended.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "hostkit/shell/search_words.h"

namespace kx::hostkit {

// The search stops once this many files have been found.
inline constexpr std::int32_t kSearchHitLimit = 1000;

struct SearchEntry {
  std::string name;
  bool directory = false;
  bool hidden = false;
};

// The folders the search walks.
class SearchFiles {
 public:
  virtual ~SearchFiles() = default;
  // Calls `entry` for each entry of `folder` (ending in a backslash), as
  // the system lists them, until it returns false. An unreadable folder has
  // no entries.
  virtual void ListFolder(const std::string& folder,
                          const std::function<bool(const SearchEntry&)>& entry) = 0;
};

// The two attribute texts the 3D engine keeps in a model file.
class ModelAttributes {
 public:
  virtual ~ModelAttributes() = default;
  // False when the file has none.
  virtual bool Read(const std::string& path, std::string* first, std::string* second) = 0;
};

// How the worker tells the dialog how far it is.
class SearchListener {
 public:
  virtual ~SearchListener() = default;
  virtual void Progress() = 0;
  virtual void Done() = 0;
};

struct SearchRequest {
  std::string root;                     // ends in a backslash
  std::vector<std::string> keywords;    // normalised
  std::vector<std::string> extensions;  // used as given
};

class SearchRun {
 public:
  SearchRun(SearchRequest request, SearchFiles& files, ModelAttributes& attributes,
            SearchTextMapper& mapper, SearchListener& listener)
      : request_(std::move(request)),
        files_(files),
        attributes_(attributes),
        mapper_(mapper),
        listener_(listener) {}

  // The worker's whole work: the walk from the root, then Done() unless
  // the search was cancelled.
  void Run();

  // Asks the worker to stop at its next entry. Any thread.
  void Cancel() { cancelled_.store(true); }
  bool cancelled() const { return cancelled_.load(); }

  // The dialog has shown the last progress; the next one may be told.
  // Progress is told once per entry, but never while an earlier report is
  // still waiting to be shown: a walk over many thousands of files would
  // otherwise bury the dialog's queue under reports it can only show one
  // at a time, and could push out the end report.
  void ProgressShown() { progress_pending_.store(false); }

  // Readable at any time.
  std::int32_t files_examined() const { return files_examined_.load(); }
  std::int32_t hit_count() const { return hit_count_.load(); }
  // Only once the worker has ended.
  const std::vector<std::string>& hits() const { return hits_; }

 private:
  // One folder, ending in a backslash; false once the search must stop.
  void SearchFolder(const std::string& folder);
  bool IsHit(const std::string& folder, const std::string& name);
  bool ShouldStop() const;

  const SearchRequest request_;
  SearchFiles& files_;
  ModelAttributes& attributes_;
  SearchTextMapper& mapper_;
  SearchListener& listener_;
  std::atomic<bool> cancelled_{false};
  std::atomic<bool> progress_pending_{false};
  std::atomic<std::int32_t> files_examined_{0};
  std::atomic<std::int32_t> hit_count_{0};
  std::vector<std::string> hits_;
};

// Position of the progress bar (0..100) for `examined` of `expected` files;
// an expected count of 0 or less counts as 1.
int SearchProgressPosition(std::int32_t examined, std::int32_t expected);

// The result file: "#" and the keywords text as the caller gave it, then one
// hit path per line, every line ended by `line_end`.
std::string SearchResultText(const std::string& keywords_text, const std::vector<std::string>& hits,
                             const std::string& line_end);

// Where a dialog of `width` x `height` goes so that its horizontal middle
// is at x and its bottom edge at y, never left of or above 0.
struct DialogOrigin {
  int left = 0;
  int top = 0;
};
DialogOrigin PlaceAboveAnchor(int x, int y, int width, int height);

}  // namespace kx::hostkit
