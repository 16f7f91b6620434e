#include "automation/steps.h"

#include <new>

namespace qx::automation {

Error toError(std::exception_ptr failure) noexcept {
  try {
    std::rethrow_exception(failure);
  } catch (const Error& e) {
    return e;
  } catch (const std::bad_alloc&) {
    return Error::outOfMemory();
  } catch (const std::exception& e) {
    return Error::internal(e.what());
  } catch (...) {
    return Error::internal("unknown failure");
  }
}

void Steps::record(std::exception_ptr failure) {
#ifdef QX_STRICT_STEPS
  try {
    std::rethrow_exception(failure);
  } catch (const Error&) {
  } catch (const std::bad_alloc&) {
  }
#endif
  try {
    pending_ = toError(failure);
  } catch (...) {
    pending_.reset();  // copying the error ran out of memory: keep going without it
  }
}

}  // namespace qx::automation
