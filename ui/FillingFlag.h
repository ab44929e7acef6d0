#pragma once

namespace KramoDialogs {

// Set while the program itself refills widgets: the windows' change handlers then do nothing.
class FillingFlag {
  public:
    bool IsSet() const { return depth_ > 0; }

    // Sets the flag for a scope; scopes nest.
    class Scope {
      public:
        explicit Scope(FillingFlag& flag) : flag_(flag) { ++flag_.depth_; }
        ~Scope() { --flag_.depth_; }
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

      private:
        FillingFlag& flag_;
    };

  private:
    int depth_ = 0;
};

}  // namespace KramoDialogs
