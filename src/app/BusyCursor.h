// The busy cursor of a long command, and the normal cursor that a modal box
// shown in the middle of such a command needs.
#pragma once

namespace tessary {

// Shows the wait cursor over the whole application until Release or the end
// of the scope, whichever comes first, so every way out of a command turns it
// off again.
class BusyCursor {
  public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

    void Release();

  private:
    bool active = true;
};

// While a message box or the password dialog waits for the user in the middle
// of a busy command, the user sees the ordinary arrow: the wait cursor would
// say that the box can't be used. Does nothing when no override cursor is set.
class NormalCursor {
  public:
    NormalCursor();
    ~NormalCursor();
    NormalCursor(const NormalCursor&) = delete;
    NormalCursor& operator=(const NormalCursor&) = delete;

  private:
    bool active = false;
};

}  // namespace tessary
