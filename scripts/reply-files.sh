# Shell functions for the program's reply files C:\a, C:\c and C:\s. Source this file.
# Each reply file is the whole HTTP response the program sends: status line, headers, body.

# mt_http_response FILE CONTENT_TYPE BODY: writes a complete response with BODY to FILE.
mt_http_response() {
    local file=$1 type=$2 body=$3
    local length
    length=$(printf '%s' "$body" | wc -c)
    printf 'HTTP/1.1 200 OK\r\nContent-Type: %s\r\nContent-Length: %d\r\nConnection: close\r\n\r\n%s' \
        "$type" "$length" "$body" >"$file"
}

# mt_sample_reply_files DRIVE_C: writes sample reply files into the folder that is C:\, each
# only when it is missing (an operator's own files are kept): C:\a a control page with links
# that drive the machine, C:\s the page after a move, C:\c a page of its own.
mt_sample_reply_files() {
    local drive=$1
    mkdir -p "$drive"
    local links='<p><a href="/s?e=1&amp;p=100&amp;X10&amp;Y0">X to 10</a> |
<a href="/s?e=1&amp;p=100&amp;X10&amp;Y10">X 10, Y 10</a> |
<a href="/s?e=1&amp;p=100&amp;X0&amp;Y0">back to 0, 0</a> |
<a href="/s?e=0&amp;X0&amp;Y0">set 0, 0 without moving</a></p>
<p><a href="/">control page</a> | <a href="/c">the C page</a> | <a href="/x">ready?</a></p>'
    [ -e "$drive/a" ] || mt_http_response "$drive/a" "text/html" \
        "<html><head><title>Mini-Tarvo Server</title></head><body><h1>Mini-Tarvo Server</h1>
<p>Each link moves the machine in a straight line to the values it names.</p>
$links
</body></html>
"
    [ -e "$drive/s" ] || mt_http_response "$drive/s" "text/html" \
        "<html><head><title>Moved</title></head><body><h1>Line done</h1>
$links
</body></html>
"
    [ -e "$drive/c" ] || mt_http_response "$drive/c" "text/html" \
        "<html><head><title>C</title></head><body><h1>Page C</h1>
$links
</body></html>
"
    return 0
}
