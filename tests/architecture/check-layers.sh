#!/usr/bin/env bash
# Checks the #include lines of src/ against the layer order in layers.txt:
# a folder may include itself and the folders on the lines below its own;
# never a folder above it or beside it on the same line. Any cycle between
# folders is named too. A folder inside another (route/editor) is a folder
# of its own; the files directly in src/ are the programs on top of all.
#   check-layers.sh <src folder> <layers.txt>          exit 1 on a fault
#   check-layers.sh <src folder> <layers.txt> --graph  also prints the graph
# A quoted include names a file under src/ ("route/RouteFiles.h") or one
# beside the including file ("RouteFiles.h"); anything else is not ours.
set -euo pipefail
src="$(cd "$1" && pwd)"
layers="$2"
graph="${3:-}"

# One line per include of ours: <from folder> <to folder> <file>:<line>
edges() {
    cd "$src"
    find . -type f \( -name '*.h' -o -name '*.cpp' \) | sed 's|^\./||' | sort | awk '
    function normal(path,    parts, n, i, out, k) {
        n = split(path, parts, "/"); k = 0
        for (i = 1; i <= n; ++i) {
            if (parts[i] == "..") { if (k > 0) --k } else if (parts[i] != ".") out[++k] = parts[i]
        }
        path = out[1]
        for (i = 2; i <= k; ++i) path = path "/" out[i]
        return path
    }
    function folder(path) { sub(/\/[^\/]*$/, "", path); return path }
    { exists[$0] = 1; if (index($0, "/")) files[++count] = $0 }
    END {
        for (f = 1; f <= count; ++f) {
            file = files[f]; from = folder(file); number = 0
            while ((getline line < file) > 0) {
                ++number
                if (line !~ /^[ \t]*#[ \t]*include[ \t]*"/) continue
                name = line; sub(/^[^"]*"/, "", name); sub(/".*$/, "", name)
                target = normal(from "/" name)
                if (!(target in exists)) target = normal(name)
                if (!(target in exists) || !index(target, "/")) continue
                to = folder(target)
                if (to != from) print from, to, file ":" number
            }
            close(file)
        }
    }'
}

edges | awk -v layers="$layers" -v graph="$graph" '
BEGIN {
    while ((getline line < layers) > 0) {
        sub(/#.*/, "", line)
        n = split(line, names, /[[:space:]]+/)
        seen = 0
        for (i = 1; i <= n; ++i) if (names[i] != "") seen = 1
        if (seen) ++lines
        for (i = 1; i <= n; ++i) if (names[i] != "") rank[names[i]] = lines
    }
    # The file lists the top first: turn line numbers into heights.
    for (name in rank) rank[name] = lines - rank[name]
}
{
    key = $1 " " $2
    if (!(key in where)) { where[key] = $3; targets[$1] = targets[$1] " " $2; folder[$1]; folder[$2] }
    # A program inside a folder (fare/hy3tool) still makes its top folder
    # depend on what it includes: the top folders must not cycle either.
    top1 = $1; sub(/\/.*/, "", top1); top2 = $2; sub(/\/.*/, "", top2)
    if (top1 != top2 && !((top1 " " top2) in topWhere)) {
        topWhere[top1 " " top2] = $3; topTargets[top1] = topTargets[top1] " " top2; topFolder[top1]; topFolder[top2]
    }
    ++count[key]
    if (($1 in rank) && ($2 in rank) && rank[$2] >= rank[$1]) {
        printf "%s: %s includes %s, which is %s it in the layer order\n", $3, $1, $2,
            rank[$2] == rank[$1] ? "beside" : "above"
        ++faults
    }
}
function visit(node, targets, where, state,    list, n, i, next_, k, path) {
    state[node] = 1; stack[++depth] = node
    n = split(targets[node], list, " ")
    for (i = 1; i <= n; ++i) {
        next_ = list[i]
        if (state[next_] == 1) {
            path = next_
            for (k = depth; k >= 1 && stack[k] != next_; --k) path = stack[k] " -> " path
            path = next_ " -> " path
            printf "cycle between folders: %s (%s)\n", path, where[node " " next_]
            ++faults
        } else if (state[next_] == 0) visit(next_, targets, where, state)
    }
    --depth; state[node] = 2
}
END {
    if (graph != "") {
        for (key in count) printf "%-24s %3d  e.g. %s\n", key, count[key], where[key] | "sort"
        close("sort")
    }
    for (name in folder) if (!(name in rank)) {
        printf "folder src/%s is not in %s: give it its layer\n", name, layers; ++faults
    }
    for (name in folder) if (state[name] == 0) visit(name, targets, where, state)
    for (name in topFolder) if (topState[name] == 0) visit(name, topTargets, topWhere, topState)
    exit faults > 0
}'
