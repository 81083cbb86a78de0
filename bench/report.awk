# Turns the figures of one benchmark run into Markdown tables of ZOLXML
# against each peer. Input lines:
#   speed,<operation>,<document>,<library>,<bytes per second, empty if refused>
#   heap,<document>,<library>,<kept>,<peak>,<allocations>   (or ...,refused)
#   first-parse,<document>,<library>,<bytes per second>      (or ...,refused)
BEGIN { FS = "," }

function remember(list, count, item) {
  if (!((list, item) in seen)) { seen[list, item] = 1; order[list, ++counts[list]] = item }
}
function mib(rate) { return sprintf("%.0f", rate / 1048576) }
function megabytes(bytes) { return sprintf("%.2f", bytes / 1e6) }
function ratio(a, b) { return (a == "" || b == "" || b == 0) ? "-" : sprintf("%.2f", a / b) }
function geomean_row(sum, n) { return n == 0 ? "-" : sprintf("**%.2f**", exp(sum / n)) }

$1 == "speed" {
  remember("operation", 0, $2); remember("document", 0, $3); remember("library", 0, $4)
  speed[$2, $3, $4] = $5; has[$2, $4] = 1
}
$1 == "heap" {
  remember("document", 0, $2); remember("heaplib", 0, $3)
  if ($4 != "refused") { kept[$2, $3] = $4; peak[$2, $3] = $5; allocs[$2, $3] = $6 }
}
$1 == "first-parse" {
  remember("document", 0, $2); remember("firstlib", 0, $3)
  if ($4 != "refused") first[$2, $3] = $4
}

END {
  nd = counts["document"]
  for (i = 2; i <= nd; ++i)
    for (j = i; j > 1 && order["document", j - 1] > order["document", j]; --j) {
      t = order["document", j]; order["document", j] = order["document", j - 1]; order["document", j - 1] = t
    }
  for (o = 1; o <= counts["operation"]; ++o) {
    op = order["operation", o]
    header = "| " op " | ZOLXML MiB/s"; rule = "|---|---:"; np = 0
    for (l = 1; l <= counts["library"]; ++l) {
      lib = order["library", l]
      if (lib == "ZOLXML" || !has[op, lib]) continue
      peers[++np] = lib; header = header " | × " lib; rule = rule "|---:"
    }
    print "\n" header " |\n" rule "|"
    for (p = 1; p <= np; ++p) { logsum[p] = 0; n[p] = 0 }
    for (d = 1; d <= nd; ++d) {
      doc = order["document", d]
      if (!((op, doc, "ZOLXML") in speed)) continue
      own = speed[op, doc, "ZOLXML"]
      line = "| " doc " | " (own == "" ? "-" : mib(own))
      for (p = 1; p <= np; ++p) {
        other = speed[op, doc, peers[p]]
        line = line " | " ratio(own, other)
        if (own != "" && other != "") { logsum[p] += log(own / other); ++n[p] }
      }
      print line " |"
    }
    if (np > 0) {
      line = "| geometric mean | "
      for (p = 1; p <= np; ++p) line = line " | " geomean_row(logsum[p], n[p])
      print line " |"
    }
    if (op == "parse") {
      slowest = ""
      for (d = 1; d <= nd; ++d) {
        doc = order["document", d]; rate = speed[op, doc, "ZOLXML"]
        if (doc != "gen_deep.xml" && rate != "" && (slowest == "" || rate < slowest)) slowest = rate
      }
      deep = speed[op, "gen_deep.xml", "ZOLXML"]
      if (deep != "" && slowest != "")
        printf "\nThe 1,000-deep document parses at %s× the speed of the slowest shallow one.\n", ratio(deep, slowest)
    }
  }

  if (has["destroy", "ZOLXML"]) {
    print "\nDestroying a tree, as a share of the time its parse takes:\n"
    header = "| document"; rule = "|---"
    for (l = 1; l <= counts["library"]; ++l) {
      lib = order["library", l]
      if (has["destroy", lib]) { header = header " | " lib; rule = rule "|---:" }
    }
    print header " |\n" rule "|"
    for (d = 1; d <= nd; ++d) {
      doc = order["document", d]; line = "| " doc
      for (l = 1; l <= counts["library"]; ++l) {
        lib = order["library", l]
        if (!has["destroy", lib]) continue
        p = speed["parse", doc, lib]; k = speed["destroy", doc, lib]
        line = line " | " ((p == "" || k == "") ? "-" : sprintf("%.0f%%", 100 * p / k))
      }
      print line " |"
    }
  }

  if (counts["heaplib"] > 0) {
    print "\nHeap that a parsed tree keeps, in MB (ZOLXML's peak while parsing and its allocations beside):\n"
    header = "| document"; rule = "|---"
    for (l = 1; l <= counts["heaplib"]; ++l) { header = header " | " order["heaplib", l]; rule = rule "|---:" }
    print header " | ZOLXML ÷ pugixml | ZOLXML peak | ZOLXML allocations |\n" rule "|---:|---:|---:|"
    for (d = 1; d <= nd; ++d) {
      doc = order["document", d]; line = "| " doc
      for (l = 1; l <= counts["heaplib"]; ++l) {
        lib = order["heaplib", l]
        line = line " | " (((doc, lib) in kept) ? megabytes(kept[doc, lib]) : "-")
      }
      line = line " | " ratio(kept[doc, "ZOLXML"], kept[doc, "pugixml"])
      line = line " | " (((doc, "ZOLXML") in peak) ? megabytes(peak[doc, "ZOLXML"]) : "-")
      line = line " | " (((doc, "ZOLXML") in allocs) ? allocs[doc, "ZOLXML"] : "-")
      print line " |"
    }
  }

  if (counts["firstlib"] > 0) {
    print "\nThe first parse in a fresh process, MiB/s (median of fresh processes):\n"
    print "| document | ZOLXML | pugixml | ZOLXML ÷ pugixml |\n|---|---:|---:|---:|"
    logsum[0] = 0; n[0] = 0
    for (d = 1; d <= nd; ++d) {
      doc = order["document", d]
      if (!((doc, "ZOLXML") in first)) continue
      own = first[doc, "ZOLXML"]; other = first[doc, "pugixml"]
      print "| " doc " | " mib(own) " | " (other == "" ? "-" : mib(other)) " | " ratio(own, other) " |"
      if (own != "" && other != "") { logsum[0] += log(own / other); ++n[0] }
    }
    print "| geometric mean | | | " geomean_row(logsum[0], n[0]) " |"
  }
}
