// The index error every owned list raises for an index outside 0..Count-1.
#include "model/OwnedList.h"

void throwListIndexError(int index, int count) {
  throw std::out_of_range("List index out of bounds (" + std::to_string(index) + ")");
}
