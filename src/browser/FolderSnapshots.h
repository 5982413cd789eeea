#pragma once

#include "browser/FolderSnapshot.h"

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

// The snapshots being applied: while one is served, every look of the browser at its
// folder is answered from it instead of the disk.
class FolderSnapshots {
  public:
    // Serves a snapshot for the life of the scope (scopes of one folder nest).
    class Scope {
      public:
        Scope(FolderSnapshots& owner, std::shared_ptr<const FolderSnapshot> snapshot);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

      private:
        FolderSnapshots& owner_;
        std::string folder_;
        std::shared_ptr<const FolderSnapshot> previous_;
    };

    // The snapshot served for the folder; none when the disk must be asked.
    const FolderSnapshot* find(std::string_view folder) const;
    // The same, only when it holds the whole listing.
    const FolderSnapshot* findFull(std::string_view folder) const;

  private:
    std::unordered_map<std::string, std::shared_ptr<const FolderSnapshot>> served_;
};
