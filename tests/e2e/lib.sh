# Shared helpers of the end-to-end tests: project files written from a few
# shell calls, the simulator started on a port it chooses itself (read back
# through a FIFO, so nothing waits on a clock), and assertions.
# Sourced by each *_test.sh with: CLI SIM DATA as $1 $2 $3.
set -uo pipefail

CLI=$1
SIM=$2
DATA=$3
WORK=$(mktemp -d)
SIM_PIDS=()
FAILURES=0

cleanup() {
    for pid in "${SIM_PIDS[@]}"; do
        kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
    done
    rm -rf "$WORK"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    FAILURES=$((FAILURES + 1))
}

finish() {
    if [ "$FAILURES" -ne 0 ]; then
        echo "$FAILURES failure(s)" >&2
        exit 1
    fi
    echo "all passed"
}

# --- project files ----------------------------------------------------------
# vtc_begin MODEL [ADDTYPE] [WORKMODE]; vtc_com NAME [BAUD CHECK STOP];
# vtc_slave COM ADDRESS [SPACE TIMEOUT CONTROL]; vtc_module FUNC START LENGTH
# GATE [EDITSEND] [CDTYX]; vtc_write OUT.vtc
vtc_begin() {
    VTC_MODEL=$1
    VTC_ADDTYPE=${2:-0}
    VTC_WORKMODE=${3:-0}
    VTC_COMS=()
    VTC_SLAVES=""
    VTC_OPEN=0
    declare -gA VTC_COUNT=()
}

vtc_com() {
    VTC_COMS+=("$1 ${2:-2} ${3:-2} ${4:-0}")
    VTC_COUNT[$1]=0
}

vtc_close_slave() {
    if [ "$VTC_OPEN" -eq 1 ]; then
        VTC_SLAVES+="</Slave>"$'\r\n'
        VTC_OPEN=0
    fi
}

vtc_slave() {
    vtc_close_slave
    VTC_COUNT[$1]=$((${VTC_COUNT[$1]:-0} + 1))
    VTC_SLAVES+="<Slave x=\"0\" y=\"0\" address=\"$2\" com_name=\"$1\" space=\"${3:-0}\" timeout=\"${4:-50}\" control=\"${5:-128}\" name=\"SLAVE\">"$'\r\n'
    VTC_OPEN=1
}

vtc_module() {
    local func=$1 area rw
    case "$func" in
    "读0区 01H") area=0 rw=0 ;;
    "写0区 0FH 写多线圈") area=0 rw=1 ;;
    "写0区 05H 写单线圈") area=0 rw=2 ;;
    "读1区 02H") area=1 rw=0 ;;
    "读3区 04H") area=3 rw=0 ;;
    "读4区 03H") area=4 rw=0 ;;
    "写4区 06H 写单字") area=4 rw=2 ;;
    "写4区 10H 写多字") area=4 rw=1 ;;
    *) echo "unknown kind $func" >&2; return 1 ;;
    esac
    VTC_SLAVES+="<Module Start_Add=\"$2\" Length=\"$3\" Explain=\"\" Func=\"$func\" area_num=\"$area\" read_wri=\"$rw\" Gate_Add=\"$4\" mod_num=\"-1\" editSend=\"${5:-0}\" isCDTYx=\"${6:-0}\"/>"$'\r\n'
}

vtc_write() {
    vtc_close_slave
    local xml="$WORK/project.xml" gbk="$WORK/project.gbk" out=$1 n
    {
        printf "<?xml version='1.0' encoding='gb2312'?>\r\n<VantorProject>\r\n<softVer>1.0</softVer>\r\n"
        printf '<slaveAddrFlag/>\r\n'
        printf '<globalValue addType="%s" repTimeoutTime="500" sendInterlTime="0"/>\r\n' "$VTC_ADDTYPE"
        printf '<MasterInfo GW_work_mode="%s">\r\n<Master masterName="%s" x="35" y="35" bitmap=""/>\r\n</MasterInfo>\r\n' \
            "$VTC_WORKMODE" "$VTC_MODEL"
        printf '<COMInfo>\r\n'
        local i=0 c
        for c in "${VTC_COMS[@]}"; do
            set -- $c
            printf '<COM COMName="%s" num_com="%s" x="260" y="80" com_length="260" baud="%s" check="%s" stop="%s" slave_num="%s" space="30">\r\n<addArea/>\r\n</COM>\r\n' \
                "$1" "$i" "$2" "$3" "$4" "${VTC_COUNT[$1]}"
            i=$((i + 1))
        done
        printf '</COMInfo>\r\n<SlaveInfo>\r\n%s</SlaveInfo>\r\n' "$VTC_SLAVES"
        printf '<ETHParam IP="127.0.0.1" SETIP="192.168.1.10" SETMASK="255.255.255.0" SETGW="192.168.1.1" SETPORT="502"/>\r\n'
        printf '</VantorProject>\r\n'
    } >"$xml"
    iconv -f UTF-8 -t GBK "$xml" >"$gbk" || return 1
    n=$(stat -c %s "$gbk")
    {
        if [ "$n" -lt 255 ]; then
            printf "\\x$(printf %02x "$n")"
        elif [ "$n" -lt 65534 ]; then
            printf '\xff'
            printf "\\x$(printf %02x $((n & 255)))\\x$(printf %02x $((n >> 8)))"
        else
            printf '\xff\xff\xff'
            printf "\\x$(printf %02x $((n & 255)))\\x$(printf %02x $(((n >> 8) & 255)))"
            printf "\\x$(printf %02x $(((n >> 16) & 255)))\\x$(printf %02x $((n >> 24)))"
        fi
        cat "$gbk"
    } >"$out"
}

# --- the simulator ------------------------------------------------------------
# start_sim MODEL DUMPDIR [SWITCHES...]: sets SIM_PORT (configuration),
# SIM_MPORT (MODBUS TCP) and SIM_PID.
start_sim() {
    local model=$1 dump=$2
    shift 2
    mkdir -p "$dump"
    local fifo="$WORK/port.$RANDOM.$RANDOM" mfifo="$WORK/mport.$RANDOM.$RANDOM"
    mkfifo "$fifo" "$mfifo"
    # Opened read-write: the simulator's open never blocks.
    exec {SIM_FD}<>"$fifo" {SIM_MFD}<>"$mfifo"
    "$SIM" --model "$model" --port 0 --port-file "$fifo" --modbus-port 0 --modbus-port-file "$mfifo" \
        --dump-dir "$dump" "$@" 2>>"$WORK/sim.log" &
    SIM_PID=$!
    SIM_PIDS+=("$SIM_PID")
    SIM_PORT=""
    SIM_MPORT=""
    # Bounded only in case the simulator dies before listening.
    read -r -t 20 SIM_PORT <&"$SIM_FD"
    read -r -t 20 SIM_MPORT <&"$SIM_MFD"
    exec {SIM_FD}<&- {SIM_MFD}<&-
    rm -f "$fifo" "$mfifo"
    if [ -z "$SIM_PORT" ] || [ -z "$SIM_MPORT" ]; then
        fail "simulator for $model did not start"
        cat "$WORK/sim.log" >&2
        return 1
    fi
}

# start_fleet MODEL N DUMPDIR [SWITCHES...]: N gateways in one simulator;
# sets FLEET_LINES (one "CONFIG MODBUS" line per member) and SIM_PID.
start_fleet() {
    local model=$1 count=$2 dump=$3
    shift 3
    mkdir -p "$dump"
    local fifo="$WORK/fleet.$RANDOM.$RANDOM" line
    mkfifo "$fifo"
    exec {SIM_FD}<>"$fifo"
    "$SIM" --model "$model" --fleet "$count" --port 0 --port-file "$fifo" --dump-dir "$dump" "$@" \
        2>>"$WORK/sim.log" &
    SIM_PID=$!
    SIM_PIDS+=("$SIM_PID")
    FLEET_LINES=()
    while [ "${#FLEET_LINES[@]}" -lt "$count" ] && read -r -t 20 line <&"$SIM_FD"; do
        FLEET_LINES+=("$line")
    done
    exec {SIM_FD}<&-
    rm -f "$fifo"
    if [ "${#FLEET_LINES[@]}" -ne "$count" ]; then
        fail "fleet of $count $model did not start"
        cat "$WORK/sim.log" >&2
        return 1
    fi
}

stop_sim() {
    kill "$SIM_PID" 2>/dev/null
    wait "$SIM_PID" 2>/dev/null
    local rc=$?
    # SIGTERM ends the simulator cleanly with status 0.
    [ "$rc" -eq 0 ] || fail "simulator exit status $rc after SIGTERM"
}

# run_cli ARGS...: runs vantor-cli with a hard bound against hangs; sets
# OUT, ERR and RC.
run_cli() {
    timeout 60 "$CLI" "$@" >"$WORK/out" 2>"$WORK/err"
    RC=$?
    OUT=$(cat "$WORK/out")
    ERR=$(cat "$WORK/err")
    [ "$RC" -ne 124 ] || fail "vantor-cli $1 hung"
    [ "$RC" -lt 128 ] || fail "vantor-cli $1 crashed (status $RC)"
}

expect_eq() { # WHAT EXPECTED ACTUAL
    [ "$2" == "$3" ] || fail "$1: expected [$2], got [$3]"
}

# vncfg_variant SRC OUT PYTHON-EXPR: a VantorNet project file with its markup
# text `t` rewritten by the expression (length prefix recomputed).
vncfg_variant() {
    python3 "$(dirname "${BASH_SOURCE[0]}")/../support/rewrite_project.py" "$@"
}
