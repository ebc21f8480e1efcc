// Empties a container so that it gives its room back to the allocator: clear() keeps the room,
// and so does assigning {} (which assigns an empty initializer list).
#pragma once

template <class Container>
void ReleaseRoom(Container& container) {
  Container().swap(container);
}
