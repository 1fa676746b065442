#include "store/cache/file_pool.h"

#include <cstdio>
#include <new>

namespace {

// A fetched file larger than this is not read into memory: the fetch fails.
constexpr long kMaxFileBytes = 64L * 1024 * 1024;

}  // namespace

RequestContext::~RequestContext() = default;
PictureRequester::~PictureRequester() = default;
PoolPictures::~PoolPictures() = default;
PictureFetcher::~PictureFetcher() = default;

// ---- PoolEntry ------------------------------------------------------------------

PoolEntry::PoolEntry(FetchManager* manager, const CString& name, NamedObject* picture)
    : name_(name), picture_(picture), manager_(manager) {}

PoolEntry::~PoolEntry() {
  requesters_.clearAndDelete();
  if (picture_) picture_->release();
}

void PoolEntry::addRequester(PictureRequester* requester, DWORD tag) {
  if (!requester) return;
  for (ListElement* e = requesters_.first(); e; e = e->next()) {
    auto* n = static_cast<RequesterNode*>(e);
    if (n->requester == requester && n->tag == tag) return;
  }
  if (auto* node = new (std::nothrow) RequesterNode(requester, tag)) requesters_.prepend(node);
}

void PoolEntry::removeRequester(PictureRequester* requester, DWORD tag) {
  for (ListElement* e = requesters_.first(); e;) {
    ListElement* next = e->next();
    auto* n = static_cast<RequesterNode*>(e);
    if (!requester || (n->requester == requester && n->tag == tag)) {
      requesters_.unlink(n);
      delete n;
    }
    e = next;
  }
}

int PoolEntry::load(const char* fileName, int failed) {
  // Completing may let the pool's reference go: this call keeps its own.
  acquire();
  int result = 0;
  bool ok = !failed && fileName;
  if (ok) {
    std::FILE* f = std::fopen(fileName, "rb");
    ok = false;
    if (f) {
      long size = -1;
      if (std::fseek(f, 0, SEEK_END) == 0) size = std::ftell(f);
      if (size >= 0 && size <= kMaxFileBytes && std::fseek(f, 0, SEEK_SET) == 0) {
        try {
          data_.assign(static_cast<size_t>(size), 0);
          ok = std::fread(data_.data(), 1, data_.size(), f) == data_.size();
        } catch (const std::bad_alloc&) {
          data_.clear();
        }
      }
      std::fclose(f);
    }
    if (!ok) result = 1;
  }
  if (!ok) data_.clear();
  if (manager_) manager_->completed(this, ok ? 0 : 1);
  release();
  return result;
}

int PoolEntry::dataArrived(const void* data, LONG size, int status) {
  acquire();
  data_.clear();
  if (data && size > 0 && size <= kMaxFileBytes) {
    try {
      data_.assign(static_cast<const BYTE*>(data), static_cast<const BYTE*>(data) + size);
    } catch (const std::bad_alloc&) {
      status = status ? status : 1;
    }
  } else if (status == 0) {
    status = 2;  // nothing to show
  }
  if (manager_) manager_->completed(this, status);
  release();
  return 0;
}

// ---- FilePool -------------------------------------------------------------------

FilePool::FilePool(PictureFetcher* fetcher, PoolPictures* pictures, bool ownsEntries, LONG limit)
    : fetcher_(fetcher), pictures_(pictures), manager_(std::make_unique<FetchManager>(this, ownsEntries, limit)) {}

FilePool::~FilePool() { manager_.reset(); }

NamedObject* FilePool::request(const CString& name, const CString& text, const RequestContext* context,
                               PictureRequester* requester, DWORD tag) {
  if (name.IsEmpty()) return nullptr;
  if (NamedObject* loaded = named_.Find(name)) return loaded;
  if (PoolEntry* running = manager_->find(name)) {
    running->addRequester(requester, tag);
    return running->picture();
  }
  NamedObject* placeholder = pictures_ ? pictures_->NewPending() : nullptr;
  if (!placeholder) return nullptr;
  auto* entry = new (std::nothrow) PoolEntry(manager_.get(), name, placeholder);
  if (!entry) {
    placeholder->release();
    return nullptr;
  }
  entry->acquire();  // until this request has returned
  entry->addRequester(requester, tag);
  manager_->addActive(entry);
  if (manager_->mayStart())
    manager_->start(text, context, entry);
  else
    manager_->enqueue(text, context, entry, tag);
  NamedObject* picture = entry->picture();
  // A fetch that ended at once without a picture: the placeholder handed
  // out here must outlive the entry.
  if (!entry->attached() && picture && picture->pending) manager_->keep(picture);
  entry->release();
  return picture;
}

void FilePool::cancel(PictureRequester* requester, DWORD tag) { manager_->cancel(requester, tag); }

void FilePool::drop(const CString& name) {
  if (name.IsEmpty()) return;
  PoolEntry* entry = manager_->find(name);
  if (!entry) return;
  if (fetcher_) fetcher_->cancel(entry);
  manager_->remove(entry);
}

// ---- FetchManager ---------------------------------------------------------------

FetchManager::FetchManager(FilePool* pool, bool ownsEntries, LONG limit)
    : pool_(pool), limit_(limit), ownsEntries_(ownsEntries) {}

FetchManager::~FetchManager() {
  cancel(nullptr, 0);
  active_.clearAndDelete();
  pending_.clearAndDelete();
  for (NamedObject* p : kept_) p->release();
}

PoolEntry* FetchManager::find(const CString& name) const {
  for (ListElement* e = active_.first(); e; e = e->next()) {
    auto* n = static_cast<ActiveNode*>(e);
    if (n->entry->name() == name) return n->entry;
  }
  return nullptr;
}

FetchManager::ActiveNode* FetchManager::nodeOf(PoolEntry* entry) const {
  for (ListElement* e = active_.first(); e; e = e->next())
    if (static_cast<ActiveNode*>(e)->entry == entry) return static_cast<ActiveNode*>(e);
  return nullptr;
}

void FetchManager::addActive(PoolEntry* entry) {
  if (auto* node = new (std::nothrow) ActiveNode(entry)) active_.append(node);
}

void FetchManager::enqueue(const CString& text, const RequestContext* context, PoolEntry* entry, DWORD tag) {
  auto* record = new (std::nothrow) PendingStart(text, context ? context->Clone() : nullptr, entry, tag);
  if (record) pending_.append(record);
}

void FetchManager::start(const CString& text, const RequestContext* context, PoolEntry* entry) {
  entry->started_ = true;
  ++running_;
  if (pool_->fetcher())
    pool_->fetcher()->start(text, context, entry);
  else if (entry->attached())
    completed(entry, 2);  // nobody can fetch it
}

void FetchManager::startNext() {
  // Fetches that end at once start the next from inside this loop, not by
  // recursion: a long queue never deepens the stack.
  if (starting_) {
    startAgain_ = true;
    return;
  }
  starting_ = true;
  do {
    startAgain_ = false;
    while (mayStart() && pending_.count() > 0) {
      auto* record = static_cast<PendingStart*>(pending_.popFront());
      if (record->entry->attached()) start(record->text, record->context.get(), record->entry);
      delete record;
    }
  } while (startAgain_);
  starting_ = false;
}

void FetchManager::withdraw(PictureRequester* requester) {
  for (ListElement* e = active_.first(); e; e = e->next()) {
    PoolEntry* entry = static_cast<ActiveNode*>(e)->entry;
    for (ListElement* r = entry->requesters_.first(); r;) {
      ListElement* next = r->next();
      if (static_cast<PoolEntry::RequesterNode*>(r)->requester == requester) {
        entry->requesters_.unlink(r);
        delete r;
      }
      r = next;
    }
  }
}

void FetchManager::completed(PoolEntry* entry, int status) {
  const bool lastOne = active_.count() <= 1;
  if (entry->requesterCount() > 0 && status == 0 && entry->picture_ && pool_->pictures()) {
    if (pool_->pictures()->Load(entry->picture_, entry->data_.data(), static_cast<LONG>(entry->data_.size()))) {
      entry->picture_->pending = 0;
      pool_->named().Add(entry->name(), entry->picture_);
    } else {
      status = 3;  // the bytes were no picture
    }
  }
  // The requesters as they are now: a notification may withdraw some.
  std::vector<std::pair<PictureRequester*, DWORD>> told;
  for (ListElement* e = entry->requesters_.first(); e; e = e->next()) {
    auto* n = static_cast<PoolEntry::RequesterNode*>(e);
    told.emplace_back(n->requester, n->tag);
  }
  for (auto& [requester, tag] : told) {
    bool still = false;
    for (ListElement* e = entry->requesters_.first(); e && !still; e = e->next()) {
      auto* n = static_cast<PoolEntry::RequesterNode*>(e);
      still = n->requester == requester && n->tag == tag;
    }
    if (!still) continue;
    if (status == 0) {
      if (requester->arrived(entry->picture_, pool_)) withdraw(requester);
    } else {
      requester->failed(entry->picture_, pool_);
    }
    if (lastOne) requester->allDone(pool_);
  }
  entry->data_.clear();
  entry->data_.shrink_to_fit();
  finish(entry);
  startNext();
}

void FetchManager::detach(PoolEntry* entry) {
  if (!entry->manager_) return;
  entry->manager_ = nullptr;
  if (entry->started_ && running_ > 0) --running_;
  dropPendingOf(entry);
}

void FetchManager::dropPendingOf(PoolEntry* entry) {
  for (ListElement* e = pending_.first(); e;) {
    ListElement* next = e->next();
    if (static_cast<PendingStart*>(e)->entry == entry) {
      pending_.unlink(e);
      delete e;
    }
    e = next;
  }
}

void FetchManager::finish(PoolEntry* entry) {
  if (!entry->manager_) return;  // finished before
  ActiveNode* node = nodeOf(entry);
  entry->acquire();
  detach(entry);
  if (node) {
    active_.unlink(node);
    delete node;
  }
  entry->release();
}

void FetchManager::remove(PoolEntry* entry) { finish(entry); }

void FetchManager::cancel(PictureRequester* requester, DWORD tag) {
  for (ListElement* e = active_.first(); e;) {
    ListElement* next = e->next();
    PoolEntry* entry = static_cast<ActiveNode*>(e)->entry;
    entry->removeRequester(requester, tag);
    if (entry->requesterCount() == 0) {
      if (pool_->fetcher()) pool_->fetcher()->cancel(entry);
      finish(entry);
    }
    e = next;
  }
  // Waiting starts of entries that others still wait for stay queued; the
  // rest went with their entries. Room made by cancelled fetches is used.
  if (requester || tag) startNext();
}

void FetchManager::keep(NamedObject* picture) {
  if (!picture) return;
  picture->acquire();
  kept_.push_back(picture);
}
