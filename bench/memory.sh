#!/bin/sh
# Resident memory of pushhost with every center full: 50 dynamic groups of 3,
# 50 share groups of 11, 50 system messages and 50 groups of 8 own shares,
# with payloads of 300 to 1,500 bytes. The steps reach pushhost through a
# named pipe, so that it can be sampled while it waits for more:
#   started  after start-up, centers empty
#   steady   every center full and listed once, pushhost idle
#   peak     the highest resident size of the whole run (VmHWM)
# Usage: bench_memory.sh [bin folder]   (default: this script's folder)
set -eu

bin=${1:-$(cd "$(dirname "$0")" && pwd)}
work=$(mktemp -d "${TMPDIR:-/tmp}/pcw-memory-XXXXXX")
pid=
cleanup() {
  exec 3>&- 2>/dev/null || true
  if [ -n "$pid" ]; then wait "$pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

mkfifo "$work/steps"
HalyxBinPath=$bin "$bin/pushhost" run --data "$work/data" "$work/steps" >"$work/out.txt" 2>&1 &
pid=$!
exec 3>"$work/steps"

# Idle: asleep reading the pipe, its CPU time unchanged across two looks.
wait_idle() {
  last=
  while :; do
    sleep 0.3
    kill -0 "$pid" 2>/dev/null || { echo "pushhost ended early:"; cat "$work/out.txt"; exit 1; }
    state=$(awk '{print $3, $14 + $15}' "/proc/$pid/stat")
    wchan=$(cat "/proc/$pid/wchan" 2>/dev/null || echo)
    case "$state $wchan" in
      S*pipe*) [ "$state" = "$last" ] && return 0 ;;
    esac
    last=$state
  done
}
kib() { awk -v key="$1:" '$1 == key {print $2}' "/proc/$pid/status"; }

words="update ready your photos were shared café naïve новое сообщение для вас 通知 下载完成 请查看 weekend discount album Zürich invite friends today"
# text N: about N characters of mixed text
text() {
  t=
  while [ ${#t} -lt "$1" ]; do t="$t $words"; done
  printf '%s' "$t" | cut -c1-"$1"
}

{
  echo '{"do":"signIn","user":6001}'
  echo '{"do":"setRoamBoolean","id":9,"value":true}'
  echo '{"do":"setRoamBoolean","id":10,"value":true}'
  echo '{"do":"setRoamNumber","id":11,"value":1}'
  app=1
  while [ $app -le 50 ]; do
    echo "{\"do\":\"installApp\",\"appId\":$app,\"needPush\":\"1\"}"
    app=$((app + 1))
  done
  echo '{"do":"init"}'
} >&3
wait_idle
started=$(kib VmRSS)

msg=1
app=1
while [ $app -le 50 ]; do
  body=$(text $((100 + app * 11)))
  records=
  n=0
  while [ $n -lt 11 ]; do
    records="$records{\"kind\":\"share\",\"appId\":0,\"msgId\":$msg,\"pushTime\":$((1000 + msg)),\"payload\":{\"FUIN\":$((100000 + msg)),\"MSG\":\"$body\",\"DSTAPPID\":\"$app\",\"SHARETYPE\":1,\"APPCUSTOMIZE\":\"album=$msg&v=2.1\",\"PICURL\":\"https://img.example.invalid/share/$msg.jpg\",\"TITLE\":\"Shared album $msg\",\"APPDESC\":\"Photo albums\"}},"
    msg=$((msg + 1))
    n=$((n + 1))
  done
  n=0
  while [ $n -lt 3 ]; do
    records="$records{\"kind\":\"dynamic\",\"appId\":$app,\"msgId\":$msg,\"pushTime\":$((1000 + msg)),\"payload\":{\"NUM\":3,\"TITLE\":\"Notice $msg\",\"TEXT\":\"$body\",\"BOTTON\":\"Open\",\"APPCUSTOMIZE\":\"act=open&id=$msg\"}},"
    msg=$((msg + 1))
    n=$((n + 1))
  done
  records="$records{\"kind\":\"system\",\"appId\":0,\"msgId\":$msg,\"pushTime\":$((1000 + msg)),\"payload\":{\"TITLE\":\"Service notice $msg\",\"TEXT\":\"$body\",\"PICURL\":\"https://img.example.invalid/n/$msg.png\",\"JUMPURL\":\"https://www.example.invalid/n?id=$msg\",\"BOTTON\":\"Details\",\"DSTAPPID\":\"$app\",\"SUBTYPE\":2}}"
  msg=$((msg + 1))
  echo "{\"do\":\"push\",\"records\":[$records]}" >&3

  mine=
  n=0
  while [ $n -lt 8 ]; do
    mine="$mine{\"shareTime\":$((1000 + msg + n)),\"uin\":6001,\"title\":\"My share $n\",\"text\":\"$body\",\"appDesc\":\"Photo albums\",\"picURL\":\"https://img.example.invalid/mine/$n.jpg\",\"buffer\":\"id=$n\"}"
    [ $n -lt 7 ] && mine="$mine,"
    n=$((n + 1))
  done
  echo "{\"call\":\"AddMyShareMsg\",\"appId\":$app,\"shareType\":1,\"msgs\":[$mine]}" >&3
  app=$((app + 1))
done
{
  echo '{"call":"PushGetDynamicMsg","maxGroups":0,"maxMsgs":0,"onlyUnread":false}'
  echo '{"call":"PushGetShareMsg","groupLimit":0,"msgLimit":0,"unreadOnly":false}'
  echo '{"call":"PushGetSystemMsg","wanted":0,"newOnly":false}'
  echo '{"call":"GetMyShareMsg","groupLimit":0,"msgLimit":0}'
  echo '{"call":"PushGetMsgCountByType","kind":1,"expect":{"result":50}}'
  echo '{"call":"PushGetMsgCountByType","kind":2,"expect":{"result":50}}'
  echo '{"call":"PushGetMsgCountByType","kind":3,"expect":{"result":50}}'
  echo '{"call":"GetAllMyShareMsgNum","expect":{"result":50}}'
} >&3
wait_idle
steady=$(kib VmRSS)
peak=$(kib VmHWM)
exec 3>&-
status=0
wait "$pid" || status=$?
pid=
if [ "$status" -ne 0 ]; then
  echo "pushhost failed ($status):"
  tail -20 "$work/out.txt"
  exit 1
fi
printf 'pushhost resident memory, KiB\n'
printf '  started (centers empty)  %s\n' "$started"
printf '  steady (every center full, listed)  %s\n' "$steady"
printf '  peak   %s\n' "$peak"
