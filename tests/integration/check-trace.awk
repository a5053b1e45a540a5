# Checks one process's trace of a module (TraceModule.cpp's lines) after a run in which the host
# opened the editor once and then quit: the effect whose editor was opened got its window's parent
# (the awk variable `parent`) in effEditOpen's ptr, was idled, had its editor closed after the last
# idle and was closed last; all its editor calls came on one thread. Prints what it found; exits 1
# when a rule is broken.

function field(name,    i) {
  for (i = 2; i <= NF; ++i)
    if (index($i, name "=") == 1) return substr($i, length(name) + 2)
  return ""
}

function broken(message) {
  print "trace: " message
  failed = 1
}

{
  opcode[NR] = $1
  ms[NR] = field("ms") + 0
  thread[NR] = field("thread")
  effect[NR] = field("effect")
  ptr[NR] = field("ptr")
  value[NR] = field("value")
  answer[NR] = field("answer")
  if ($1 == "entry" && entry_thread == "") entry_thread = thread[NR]
  if ($1 == "effEditOpen" && opened == "") opened = NR
}

END {
  if (opened == "") {
    broken("the editor was never opened")
    exit 1
  }
  target = effect[opened]
  editor_thread = thread[opened]
  printf "trace: effEditOpen(ptr %s, value %s) answered %s on thread %s; the entry ran on thread %s\n",
    ptr[opened], value[opened], answer[opened], editor_thread, entry_thread
  if (ptr[opened] != parent) broken("effEditOpen's ptr " ptr[opened] " is not the editor's parent " parent)
  sequence = ""
  idles = 0
  for (i = 1; i <= NR; ++i) {
    if (effect[i] != target || opcode[i] == "entry") continue
    if (opcode[i] ~ /^effEdit/ && thread[i] != editor_thread)
      broken(opcode[i] " came on thread " thread[i] ", not " editor_thread)
    if (opcode[i] == "effEditIdle") {
      if (idles > 0 && ms[i] - ms[last_idle] > longest_gap) longest_gap = ms[i] - ms[last_idle]
      if (idles == 0) first_idle = i
      last_idle = i
      ++idles
    }
    if (opcode[i] == "effEditClose") closed = i
    if (opcode[i] == "effClose") ended = i
    last = i
    # Runs of one opcode are listed once.
    if (opcode[i] != previous) sequence = sequence (sequence == "" ? "" : ", ") opcode[i]
    previous = opcode[i]
  }
  printf "trace: %s\n", sequence
  if (idles == 0) broken("the editor was never idled")
  else printf "trace: %d idle calls, every %.0f ms on average, longest gap %d ms\n", idles,
    (idles > 1 ? (ms[last_idle] - ms[first_idle]) / (idles - 1) : 0), longest_gap
  if (closed == "") broken("the editor was never closed")
  else if (idles > 0 && closed < last_idle) broken("the editor was idled after it was closed")
  if (ended == "") broken("the effect was never closed")
  else if (closed != "" && ended < closed) broken("the effect was closed before its editor")
  else if (ended != last) broken("the host called the effect after closing it")
  exit failed
}
